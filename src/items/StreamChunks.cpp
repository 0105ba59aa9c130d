#include "items/StreamChunks.h"

#include "platform/CancelRequest.h"

#include <algorithm>
#include <vector>

namespace mapipim
{
bool ReadStreamChunks(IStream* pStream, ULONG cbChunk, const std::function<void(const BYTE*, ULONG)>& appendChunk)
{
    std::vector<BYTE> chunk(cbChunk);
    while (CancelRequest() == 0)
    {
        ULONG cbRead = 0;
        if (pStream->Read(chunk.data(), cbChunk, &cbRead) != S_OK)
            return false;
        cbRead = std::min(cbRead, cbChunk);
        appendChunk(chunk.data(), cbRead);
        Pause();
        if (cbRead < cbChunk)
            break;
    }
    return true;
}
} // namespace mapipim
