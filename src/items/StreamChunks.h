// How much one read or write of a body or attachment stream moves. With the cooperative pause on, the fixed chunk
// after which the pause follows, as hosts with a user interface have always seen it; with the pause off no pause
// is owed, and large pieces spare the store a call for every kilobyte.
#pragma once

#include "platform/Pause.h"
#include "platform/platform.h"

#include <functional>

namespace mapipim
{
const ULONG kUnpausedChunkBytes = 1024 * 1024;

inline ULONG StreamChunkBytes(ULONG cbPausedChunk)
{
    return GetPauseMilliseconds() != 0 ? cbPausedChunk : kUnpausedChunkBytes;
}

// Hands the stream to appendChunk in chunks of cbChunk bytes, pausing after each, until a chunk comes back short
// or the host's cancel flag is anything but 0 before a read. False when a read fails.
bool ReadStreamChunks(IStream* pStream, ULONG cbChunk, const std::function<void(const BYTE*, ULONG)>& appendChunk);
} // namespace mapipim
