// TEMPORARY, test-only: the session code defines CMAPIEx's static data. Until it lands, the records tests get
// the one member they reach (the time-zone key name that CMAPITimeZone copies) from here. Remove this file when
// src/session/MAPIEx.cpp defines CMAPIEx::m_strTMKeyName.
#include <mapipim/MAPIEx.h>

CString CMAPIEx::m_strTMKeyName;
