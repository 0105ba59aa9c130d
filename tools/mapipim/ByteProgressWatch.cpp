#include "ByteProgressWatch.h"

namespace cli
{
namespace
{
// Work done sooner than this shows no bar; a shown bar is redrawn this often.
const std::chrono::milliseconds kShowAfter(300);
const std::chrono::milliseconds kSampleEvery(150);
} // namespace

ByteProgressWatch::ByteProgressWatch(const std::string& label, std::int64_t total,
                                     std::function<std::int64_t()> bytesDone)
    : m_label(label), m_total(total), m_bytesDone(std::move(bytesDone))
{
    if (m_bar.IsDrawn())
        m_thread = std::thread(&ByteProgressWatch::Watch, this);
}

ByteProgressWatch::~ByteProgressWatch()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bEnded = true;
    }
    m_ended.notify_one();
    m_thread.join();
    m_bar.Finish();
}

bool ByteProgressWatch::WaitForEnd(std::chrono::milliseconds time)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_ended.wait_for(lock, time, [this] { return m_bEnded; });
}

// A failing probe must not end the program from a thread nobody waits on: the bar then just stops moving.
void ByteProgressWatch::Watch()
{
    try
    {
        if (WaitForEnd(kShowAfter))
            return;
        m_bar.Start(m_label, m_total, ProgressUnit::kBytes);
        do
            m_bar.Update(m_bytesDone());
        while (!WaitForEnd(kSampleEvery));
    }
    catch (...)
    {
    }
}
} // namespace cli
