// A bar by bytes for work that the library does without telling how far it has come (copying an attachment's
// content): while the watch lives, a thread of its own asks a probe a few times a second how many bytes are done
// and draws the bar on standard error. Short work shows nothing: the bar appears only once the work has taken a
// noticeable time. Ending the watch (however the scope is left: success, failure, Ctrl-C, an exception) stops the
// thread and erases the line.
#pragma once

#include "ProgressBar.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace cli
{
class ByteProgressWatch
{
public:
    // The probe runs on the watch's thread only; total <= 0: not known. Nothing at all happens (no thread) when
    // standard error is no terminal.
    ByteProgressWatch(const std::string& label, std::int64_t total, std::function<std::int64_t()> bytesDone);
    ~ByteProgressWatch();
    ByteProgressWatch(const ByteProgressWatch&) = delete;
    ByteProgressWatch& operator=(const ByteProgressWatch&) = delete;

private:
    void Watch();
    // Waits the time, or less when the watch ends; true when it ended.
    bool WaitForEnd(std::chrono::milliseconds time);

    ProgressBar m_bar;
    const std::string m_label;
    const std::int64_t m_total;
    const std::function<std::int64_t()> m_bytesDone;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_bEnded = false;
    std::thread m_thread;
};
} // namespace cli
