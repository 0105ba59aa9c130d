// IMessage::CopyTo of the service's messages, between any two IMessage implementations: it reads the source
// and writes the destination through their MAPI interfaces only. Properties (large ones through streams),
// recipients, attachments and attached messages are copied; named properties are mapped across by name, the
// destination creating the names it lacks. The destination is not saved.
#pragma once

#include "platform/platform.h"

namespace mapisvc
{
// Attached messages nested deeper than this are not copied: the copy fails with MAPI_E_TOO_COMPLEX.
constexpr int kMaxCopyNesting = 64;

HRESULT CopyMessageTo(IMessage* source, ULONG ciidExclude, LPCIID rgiidExclude, LPSPropTagArray lpExcludeProps,
                      LPCIID lpInterface, LPVOID lpDestObj, ULONG ulFlags, LPSPropProblemArray* lppProblems);
} // namespace mapisvc
