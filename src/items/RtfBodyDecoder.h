// The library's own de-encapsulation of an RTF body, for when MAPI cannot deliver the native body: the HTML of a
// "\fromhtml" body or the text of a "\fromtext" one, by a fixed table of rules over the text (other control
// words come out literally). Bytes written as \'hh are decoded in the code page that \ansicpgN declares (1252
// without one), consecutive bytes of a double-byte character together; \uN is the character N, its \ucN fallback
// skipped.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
// Replaces the RTF text by what it encapsulates; RTF that encapsulates nothing stays. False when the host's
// cancel flag stopped the decoding, which leaves the output produced so far.
bool DecodeRtfBody(CString& strText);
} // namespace mapipim
