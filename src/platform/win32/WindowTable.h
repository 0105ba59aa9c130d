// The message windows of the process, by handle. Handles are never reused, so a stale handle can never reach a
// window made later.
#pragma once

#include "platform/platform.h"
#include "platform/win32/MessageQueue.h"

#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace mapipim::win32
{
struct MessageWindow
{
    WNDPROC lpfnWndProc = nullptr;
    void* context = nullptr;
    std::shared_ptr<MessageQueue> queue; // the owning thread's
    bool bDestroying = false;
};

class WindowTable
{
public:
    static WindowTable& Instance();

    HWND Add(WNDPROC lpfnWndProc, void* context, std::shared_ptr<MessageQueue> queue);
    std::optional<MessageWindow> Find(HWND hWnd) const;

    // Runs `action` on the window while no thread can remove it, so that a message queued for a window that is
    // being destroyed is either queued before its queue is cleared or not queued at all. False without the window.
    template <typename Action> bool WithWindow(HWND hWnd, Action&& action) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_windows.find(Key(hWnd));
        return it != m_windows.end() && action(it->second);
    }

    // Marks the window as being destroyed; false when it is unknown or already on its way out.
    bool BeginDestroy(HWND hWnd);
    void Remove(HWND hWnd);
    // The windows of a thread that ended.
    void RemoveOwnedBy(const MessageQueue* queue);
    // How many windows exist, so that a test can see that none is left behind.
    size_t Count() const;

private:
    static uintptr_t Key(HWND hWnd) { return reinterpret_cast<uintptr_t>(hWnd); }

    mutable std::mutex m_mutex;
    std::unordered_map<uintptr_t, MessageWindow> m_windows;
    uintptr_t m_nNextHandle = 0x20000;
};
} // namespace mapipim::win32
