#include "platform/mapi/MAPIMemory.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace mapisvc
{
namespace
{
constexpr uint32_t kRootMagic = 0x4D415049;  // a buffer from MAPIAllocateBuffer
constexpr uint32_t kMoreMagic = 0x4D4F5245;  // a block linked to a root by MAPIAllocateMore
constexpr uint32_t kFreedMagic = 0x46524545; // what a freed header holds until the memory is reused

// Sixteen bytes, so the data that follows keeps malloc's alignment.
struct BlockHeader
{
    uint32_t magic;
    uint32_t reserved;
    std::atomic<BlockHeader*> next; // root: the first linked block; linked block: the next one
};
static_assert(sizeof(BlockHeader) == 16, "MAPI buffers keep 16-byte alignment");

std::atomic<LONG> g_liveBuffers{0};

BlockHeader* HeaderOf(void* p)
{
    return reinterpret_cast<BlockHeader*>(static_cast<char*>(p) - sizeof(BlockHeader));
}

BlockHeader* NewBlock(size_t cb, uint32_t magic, bool zeroed)
{
    if (cb > std::numeric_limits<ULONG>::max())
        return nullptr;
    const size_t size = sizeof(BlockHeader) + cb;
    auto* header = static_cast<BlockHeader*>(zeroed ? std::calloc(1, size) : std::malloc(size));
    if (!header)
        return nullptr;
    header->magic = magic;
    new (&header->next) std::atomic<BlockHeader*>(nullptr);
    return header;
}

void FreeBlock(BlockHeader* header)
{
    header->magic = kFreedMagic;
    std::free(header);
}

HRESULT NewRootBuffer(size_t cb, bool zeroed, void** lppBuffer)
{
    if (!lppBuffer)
        return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = nullptr;
    BlockHeader* header = NewBlock(cb, kRootMagic, zeroed);
    if (!header)
        return MAPI_E_NOT_ENOUGH_MEMORY;
    ++g_liveBuffers;
    *lppBuffer = header + 1;
    return S_OK;
}
} // namespace

LONG LiveBufferCount()
{
    return g_liveBuffers.load();
}

HRESULT AllocateBuffer(size_t cb, void** lppBuffer)
{
    return NewRootBuffer(cb, true, lppBuffer);
}

HRESULT AllocateUnfilledBuffer(size_t cb, void** lppBuffer)
{
    return NewRootBuffer(cb, false, lppBuffer);
}

HRESULT AllocateMore(size_t cb, void* lpObject, void** lppBuffer)
{
    if (!lppBuffer)
        return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = nullptr;
    if (!lpObject)
        return MAPI_E_INVALID_PARAMETER;
    BlockHeader* root = HeaderOf(lpObject);
    if (root->magic != kRootMagic)
        return MAPI_E_INVALID_PARAMETER;
    BlockHeader* block = NewBlock(cb, kMoreMagic, true);
    if (!block)
        return MAPI_E_NOT_ENOUGH_MEMORY;
    BlockHeader* first = root->next.load();
    do
        block->next.store(first);
    while (!root->next.compare_exchange_weak(first, block));
    *lppBuffer = block + 1;
    return S_OK;
}
} // namespace mapisvc

extern "C"
{
    SCODE STDMETHODCALLTYPE MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer)
    {
        return mapisvc::AllocateBuffer(cbSize, lppBuffer);
    }

    SCODE STDMETHODCALLTYPE MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer)
    {
        return mapisvc::AllocateMore(cbSize, lpObject, lppBuffer);
    }

    ULONG STDMETHODCALLTYPE MAPIFreeBuffer(LPVOID lpBuffer)
    {
        using namespace mapisvc;
        if (!lpBuffer)
            return S_OK;
        BlockHeader* root = HeaderOf(lpBuffer);
        // Only a buffer from MAPIAllocateBuffer can be freed: linked blocks go with their root.
        if (root->magic != kRootMagic)
            return static_cast<ULONG>(MAPI_E_INVALID_PARAMETER);
        BlockHeader* block = root->next.load();
        while (block)
        {
            BlockHeader* next = block->next.load();
            FreeBlock(block);
            block = next;
        }
        FreeBlock(root);
        --g_liveBuffers;
        return S_OK;
    }
}
