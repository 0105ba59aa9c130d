#include <mapipim/MAPIEmailInfo.h>

CMAPIEmailInfo::CMAPIEmailInfo()
    : nSize(0), nMsgState(0), nForm(1), nImportance(1), nSensitivity(0), bRead(0), nAttachCount(0), tmSendTime(),
      tmRcvTime()
{
}

// Every field is a value that copies itself; the base part copies the identifier bytes deeply.
CMAPIEmailInfo::CMAPIEmailInfo(const CMAPIEmailInfo& source) = default;
CMAPIEmailInfo::~CMAPIEmailInfo() = default;
CMAPIEmailInfo& CMAPIEmailInfo::operator=(const CMAPIEmailInfo& source) = default;
