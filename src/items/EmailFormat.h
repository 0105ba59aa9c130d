// Body formats of an e-mail, the values of PR_MSG_EDITOR_FORMAT that the record's nForm carries, and the format a
// received message's transport headers name when it has no editor format of its own.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
enum EmailForm
{
    kFormUnknown = 0, // read and written as plain text
    kFormText = 1,
    kFormHTML = 2,
    kFormRTF = 3,
};

// kFormText when the headers (in any letter case) name "text/plain", else kFormHTML when they name "text/html",
// else nFallback.
int FormFromTransportHeaders(const CString& strHeaders, int nFallback);
} // namespace mapipim
