// The message state of an e-mail record (nMsgState with bRead) and its MAPI form: PR_MESSAGE_FLAGS and
// PR_ICON_INDEX. Both directions live here so that a state written reads back as itself.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
enum EmailState
{
    kEmailPlain = 0,
    kEmailReplied = 1,
    kEmailForwarded = 2,
    kEmailRead = 3,
    kEmailSubmitted = 4,
    kEmailDraft = 5,
};

// Icons of PR_ICON_INDEX that the states use.
const LONG kIconNone = -1;
const LONG kIconRead = 0x100;
const LONG kIconUnread = 0x101;
const LONG kIconReplied = 0x105;
const LONG kIconForwarded = 0x106;

struct EmailStateForm
{
    LONG lFlags;    // PR_MESSAGE_FLAGS
    LONG lIcon;     // PR_ICON_INDEX
    int bRead;      // the record's bRead after writing
};

// What writing a state stores; bRead is the record's own (kept where the table leaves it unchanged).
EmailStateForm EmailStateToMAPI(int nMsgState, int bRead);
// The record's state of a message with these flags and icon (kIconUnread when it has none).
int EmailStateFromMAPI(LONG lFlags, LONG lIcon);
} // namespace mapipim
