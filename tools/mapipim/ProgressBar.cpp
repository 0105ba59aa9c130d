#include "ProgressBar.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace cli
{
namespace
{
const int kBarWidth = 30;
const int kCountRedrawEvery = 10;
} // namespace

ProgressBar::ProgressBar() : m_bTerminal(isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar()
{
    Finish();
}

void ProgressBar::Start(const std::string& label, int total)
{
    m_label = label;
    m_total = total;
    m_done = 0;
    m_drawnStep = -1;
    Draw();
}

void ProgressBar::Advance()
{
    ++m_done;
    Draw();
}

void ProgressBar::Finish()
{
    if (!m_bShown)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_bShown = false;
}

void ProgressBar::Draw()
{
    if (!m_bTerminal)
        return;
    const int step = m_total > 0 ? std::min(m_done, m_total) * 1000 / m_total : m_done / kCountRedrawEvery;
    if (step == m_drawnStep)
        return;
    m_drawnStep = step;
    if (m_total > 0)
    {
        const int filled = std::min(m_done, m_total) * kBarWidth / m_total;
        std::fprintf(stderr, "\r%s [%s%s] %d/%d\033[K", m_label.c_str(), std::string(filled, '#').c_str(),
                     std::string(kBarWidth - filled, '.').c_str(), m_done, m_total);
    }
    else
    {
        std::fprintf(stderr, "\r%s: %d\033[K", m_label.c_str(), m_done);
    }
    std::fflush(stderr);
    m_bShown = true;
}
} // namespace cli
