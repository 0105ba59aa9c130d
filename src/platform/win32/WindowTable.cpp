#include "platform/win32/WindowTable.h"

namespace mapipim::win32
{
WindowTable& WindowTable::Instance()
{
    // Never destroyed: threads may still end, and take their windows with them, while the process exits.
    static WindowTable* pTable = new WindowTable;
    return *pTable;
}

HWND WindowTable::Add(WNDPROC lpfnWndProc, void* context, std::shared_ptr<MessageQueue> queue)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const uintptr_t nHandle = m_nNextHandle;
    m_nNextHandle += 4;
    m_windows[nHandle] = MessageWindow{lpfnWndProc, context, std::move(queue), false};
    return reinterpret_cast<HWND>(nHandle);
}

std::optional<MessageWindow> WindowTable::Find(HWND hWnd) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_windows.find(Key(hWnd));
    if (it == m_windows.end())
        return std::nullopt;
    return it->second;
}

bool WindowTable::BeginDestroy(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_windows.find(Key(hWnd));
    if (it == m_windows.end() || it->second.bDestroying)
        return false;
    it->second.bDestroying = true;
    return true;
}

void WindowTable::Remove(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_windows.erase(Key(hWnd));
}

void WindowTable::RemoveOwnedBy(const MessageQueue* queue)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_windows.begin(); it != m_windows.end();)
        it = it->second.queue.get() == queue ? m_windows.erase(it) : std::next(it);
}

size_t WindowTable::Count() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_windows.size();
}
} // namespace mapipim::win32
