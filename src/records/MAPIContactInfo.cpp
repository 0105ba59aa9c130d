#include <mapipim/MAPIContactInfo.h>

CMAPIContactInfo::CMAPIContactInfo() : tmBirthday(), tmAnniversary(), nSensitivity(0) {}

// Every field is a value that copies itself; the base part copies the identifier bytes deeply.
CMAPIContactInfo::CMAPIContactInfo(const CMAPIContactInfo& source) = default;
CMAPIContactInfo::~CMAPIContactInfo() = default;
CMAPIContactInfo& CMAPIContactInfo::operator=(const CMAPIContactInfo& source) = default;
