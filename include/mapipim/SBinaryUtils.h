// Entry identifiers and other counted byte strings (SBinary) handled as owned values: copied, compared, and
// converted to and from upper-case hexadecimal text.
//
// Ownership: an SBinary that CopySBinary or GetStringToSBinary fills owns its bytes. They come from the library's
// ordinary C++ heap (new BYTE[]), never from MAPIAllocateBuffer, and their holder releases them with
// delete[] value.lpb (then sets cb to 0 and lpb to null). lpb is null whenever cb is 0, so a holder may release
// unconditionally. Both functions release whatever bytes the target held before filling it, so a target must
// start out empty ({0, NULL}) or own its bytes in this way.
#pragma once

#include <mapipim/platform.h>

// Makes target an owned copy of source. 1 on success; 0 when the bytes could not be allocated (target empty).
// An empty source leaves the target empty and gives 1.
MAPIPIM_API BOOL CopySBinary(SBinary& target, const SBinary& source);

// 1 when both hold the same byte count and the same bytes (exact equality, not MAPI's entry-identifier match).
MAPIPIM_API BOOL CompareSBinary(const SBinary& first, const SBinary& second);

// Two upper-case hexadecimal digits per byte, without prefix or separator. An empty value gives 0 and leaves
// strText as it was.
MAPIPIM_API BOOL GetSBinaryToString(CString& strText, SBinary value);

// Parses hexadecimal text (either case, an optional prefix "x", "0x" or "xx") into owned bytes, two digits per
// byte. Empty text gives 0 and leaves the target untouched; 0 also when the bytes could not be allocated.
MAPIPIM_API BOOL GetStringToSBinary(SBinary& value, CString strText);
