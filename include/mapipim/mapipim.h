// Everything a host compiles against: the platform, the session and item classes, the interface object, the
// exported records and the free helper functions.
#pragma once

#include <mapipim/platform.h>

#include <mapipim/SBinaryUtils.h>
#include <mapipim/SubString.h>
#include <mapipim/TimeConversion.h>
#include <mapipim/MAPIByteStream.h>

#include <mapipim/MAPIInfoBase.h>
#include <mapipim/OutlookFolder.h>
#include <mapipim/OutlookStore.h>
#include <mapipim/MAPIEmailInfo.h>
#include <mapipim/MAPIContactInfo.h>
#include <mapipim/MAPIMemoInfo.h>
#include <mapipim/MAPITimeZone.h>
#include <mapipim/MAPIRecurring.h>
#include <mapipim/MAPIScheduleInfo.h>
#include <mapipim/MAPITodoInfo.h>

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEmailItem.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/MAPIInterface.h>
#include <mapipim/MsgFile.h>
#include <mapipim/Interop.h>
