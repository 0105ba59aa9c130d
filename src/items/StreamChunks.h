// How much one read or write of a body or attachment stream moves. With the cooperative pause on, the fixed chunk
// after which the pause follows, as hosts with a user interface have always seen it; with the pause off no pause
// is owed, and large pieces spare the store a call for every kilobyte.
#pragma once

#include "platform/Pause.h"
#include "platform/platform.h"

namespace mapipim
{
const ULONG kUnpausedChunkBytes = 1024 * 1024;

inline ULONG StreamChunkBytes(ULONG cbPausedChunk)
{
    return GetPauseMilliseconds() != 0 ? cbPausedChunk : kUnpausedChunkBytes;
}
} // namespace mapipim
