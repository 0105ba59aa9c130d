#include "ProgressBar.h"

#include "EscapedOutput.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace cli
{
namespace
{
const int kBarWidth = 30;
const int kCountRedrawEvery = 10;
const char kEraseLine[] = "\r\033[K";

bool g_bSuppressed = false;
volatile std::sig_atomic_t g_bLineShown = 0; // some bar's line is on the screen

// Steps with a known total redraw when the bar's thousandth changes, uncounted steps every tenth step: a long list
// costs the terminal a few hundred lines at most.
bool IsVisibleStep(std::int64_t done, std::int64_t total)
{
    if (total <= 0)
        return done % kCountRedrawEvery == 0;
    return std::min(done, total) * 1000 / total != std::min(done - 1, total) * 1000 / total;
}

std::string AmountText(std::int64_t amount, ProgressUnit unit)
{
    return unit == ProgressUnit::kBytes ? ByteCountText(amount) : std::to_string(amount);
}
} // namespace

std::string ByteCountText(std::int64_t bytes)
{
    static const char* const kUnits[] = {"B", "KB", "MB", "GB", "TB"};
    const int kLastUnit = 4;
    double value = static_cast<double>(std::max<std::int64_t>(bytes, 0));
    int unit = 0;
    // 999.95 would print as "1000.0": the next unit shows it as "1.0".
    while (value >= 999.95 && unit < kLastUnit)
    {
        value /= 1000;
        ++unit;
    }
    char text[32];
    if (unit == 0)
        std::snprintf(text, sizeof text, "%d B", static_cast<int>(value));
    else
        std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}

std::string ProgressLine(const std::string& label, std::int64_t done, std::int64_t total, ProgressUnit unit)
{
    const std::string shown = EscapedControls(label);
    done = std::max<std::int64_t>(done, 0);
    if (total <= 0)
        return shown + ": " + AmountText(done, unit);
    const int filled = static_cast<int>(std::min(done, total) * kBarWidth / total);
    const char* separator = unit == ProgressUnit::kBytes ? " / " : "/";
    return shown + " [" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " +
           AmountText(done, unit) + separator + AmountText(total, unit);
}

void SuppressProgressBars()
{
    g_bSuppressed = true;
}

void EraseProgressLineFromSignal()
{
    if (g_bLineShown && write(STDERR_FILENO, kEraseLine, sizeof kEraseLine - 1) > 0)
        g_bLineShown = 0;
}

ProgressBar::ProgressBar() : m_bTerminal(!g_bSuppressed && isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar()
{
    Finish();
}

void ProgressBar::Start(const std::string& label, std::int64_t total, ProgressUnit unit)
{
    m_label = label;
    m_total = total;
    m_unit = unit;
    m_done = 0;
    m_drawnLine.clear();
    Draw();
}

void ProgressBar::Advance()
{
    ++m_done;
    if (IsVisibleStep(m_done, m_total))
        Draw();
}

void ProgressBar::Update(std::int64_t done)
{
    m_done = done;
    Draw();
}

void ProgressBar::Finish()
{
    if (!m_bShown)
        return;
    std::fputs(kEraseLine, stderr);
    std::fflush(stderr);
    m_bShown = false;
    g_bLineShown = 0;
}

void ProgressBar::Draw()
{
    if (!m_bTerminal)
        return;
    const std::string line = ProgressLine(m_label, m_done, m_total, m_unit);
    if (m_bShown && line == m_drawnLine)
        return;
    m_drawnLine = line;
    std::fprintf(stderr, "\r%s\033[K", line.c_str());
    std::fflush(stderr);
    m_bShown = true;
    g_bLineShown = 1;
}
} // namespace cli
