// The code page of a message's 8-bit HTML and native body: PR_INTERNET_CPID when the message has one this
// machine can convert, else the ANSI code page; and whether a code page can hold a text without loss.
#pragma once

#include "platform/platform.h"

class CMAPIItem;

namespace mapipim
{
// PR_INTERNET_CPID when the message has a usable one, else 0.
UINT GetInternetCodePage(CMAPIItem& item);
// The code page the message's 8-bit bodies are read in.
UINT GetMessageCodePage(CMAPIItem& item);
bool IsUsableCodePage(UINT nCodePage);
bool CanHoldText(LPCWSTR szText, int cchText, UINT nCodePage);
} // namespace mapipim
