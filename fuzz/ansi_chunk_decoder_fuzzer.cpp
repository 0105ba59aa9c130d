// AnsiChunkDecoder over random bytes cut into random pieces, as an 8-bit body arrives from a stream, in each
// ANSI code page the process can run with (MAPIPIM_ACP: 932, 936, 949, 950, UTF-8, 1252). Whatever the bytes and
// the cuts, it holds back at most the start of one character, and text that is valid in the code page decodes
// to exactly what converting it in one piece gives.
//
// Input (FuzzedDataProvider): the code page, the piece sizes (used in turn), then the bytes.
#include "FuzzSupport.h"

#include "items/AnsiChunkDecoder.h"

#include <algorithm>
#include <vector>

using mapipim::AnsiChunkDecoder;
using mapipim::GetCompleteAnsiLength;

namespace
{
const char* const kCodePages[] = {"932", "936", "949", "950", "65001", "1252"};

// The whole text converted at once, or nothing when it is not valid in the code page.
bool ConvertWhole(const std::string& bytes, std::u16string& text)
{
    text.clear();
    if (bytes.empty())
        return true;
    const int size = static_cast<int>(bytes.size());
    const int cch = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (cch <= 0)
        return false;
    text.resize(static_cast<size_t>(cch));
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, &text[0], cch) == cch;
}

void CheckCompleteLength(const std::string& piece, UINT codePage)
{
    const int size = static_cast<int>(piece.size());
    const int complete = GetCompleteAnsiLength(piece.data(), size);
    FUZZ_CHECK(complete >= 0 && complete <= size);
    FUZZ_CHECK(size - complete <= (codePage == CP_UTF8 ? 3 : 1));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    setenv("MAPIPIM_ACP", input.PickValueInArray(kCodePages), 1);
    const UINT codePage = GetACP();
    std::vector<size_t> pieceSizes(input.ConsumeIntegralInRange<size_t>(1, 16));
    for (size_t& pieceSize : pieceSizes)
        pieceSize = input.ConsumeIntegralInRange<size_t>(0, 64); // 0: an empty piece
    pieceSizes.back() = std::max<size_t>(pieceSizes.back(), 1);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    AnsiChunkDecoder decoder;
    CString decoded;
    size_t offset = 0;
    for (size_t i = 0; offset < bytes.size(); ++i)
    {
        const std::string piece = bytes.substr(offset, pieceSizes[i % pieceSizes.size()]);
        CheckCompleteLength(piece, codePage);
        decoder.Append(piece.data(), static_cast<int>(piece.size()), decoded);
        offset += piece.size();
    }
    decoder.Finish(decoded);

    // A zero byte ends its piece's text, so only text without one decodes as the whole does.
    std::u16string whole;
    if (bytes.find('\0') == std::string::npos && ConvertWhole(bytes, whole))
        FUZZ_CHECK(std::u16string(static_cast<LPCWSTR>(decoded), decoded.GetLength()) == whole);
    return 0;
}
