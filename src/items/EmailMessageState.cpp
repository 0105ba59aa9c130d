#include "items/EmailMessageState.h"

namespace mapipim
{
namespace
{
// An unread plain message: unmodified (0x2), not read, with the high flag Outlook's own unread mail carries.
const LONG kFlagsUnread = 0x00010002;
} // namespace

EmailStateForm EmailStateToMAPI(int nMsgState, int bRead)
{
    switch (nMsgState)
    {
    case kEmailReplied:
        return {MSGFLAG_READ, kIconReplied, 1};
    case kEmailForwarded:
        return {MSGFLAG_READ, kIconForwarded, 1};
    case kEmailRead:
        return {MSGFLAG_READ, kIconNone, 1};
    case kEmailSubmitted:
        return {MSGFLAG_SUBMIT | MSGFLAG_UNSENT, kIconNone, 0};
    case kEmailDraft:
        return {MSGFLAG_UNSENT, kIconNone, bRead};
    default:
        return bRead == 1 ? EmailStateForm{MSGFLAG_READ, kIconRead, 1} : EmailStateForm{kFlagsUnread, kIconUnread, bRead};
    }
}

int EmailStateFromMAPI(LONG lFlags, LONG lIcon)
{
    if (lFlags & MSGFLAG_SUBMIT)
        return kEmailSubmitted;
    if (lFlags & MSGFLAG_UNSENT)
        return kEmailDraft;
    if (lIcon == kIconNone)
        return (lFlags & MSGFLAG_READ) ? kEmailRead : kEmailPlain;
    if (lIcon == kIconReplied)
        return kEmailReplied;
    if (lIcon == kIconForwarded)
        return kEmailForwarded;
    return kEmailPlain;
}
} // namespace mapipim
