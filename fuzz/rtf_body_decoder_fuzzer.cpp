// DecodeRTFBody (the library's own de-encapsulation) over any text: it never reads past the text and always
// ends, whatever the escapes, tag numbers, code pages and fallback counts.
//
// Input: the first byte picks the header ("\fromhtml1", "\fromtext", none); the rest is the body, each byte one
// character, so that control words and escapes are common.
#include "FuzzSupport.h"

#include "items/RtfBodyDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const WCHAR* const kHeads[] = {_T("{\\rtf1\\ansi\\ansicpg932\\fromhtml1 "), _T("{\\rtf1\\fromtext "),
                                          _T("{\\rtf1 ")};
    CString strText = kHeads[data[0] % 3];
    for (size_t i = 1; i < size; ++i)
        strText.AppendChar(static_cast<WCHAR>(data[i]));
    const int nLength = strText.GetLength();
    mapipim::DecodeRtfBody(strText);
    FUZZ_CHECK(strText.GetLength() <= nLength * 2 + 2);
    return 0;
}
