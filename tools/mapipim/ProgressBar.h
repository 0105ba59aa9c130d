// A one-line progress display on standard error, drawn only when standard error is a terminal: a bar when the
// total is known, a running count otherwise. Output on standard output is never touched.
#pragma once

#include <string>

namespace cli
{
class ProgressBar
{
public:
    ProgressBar();
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // total <= 0: the number of steps is not known in advance.
    void Start(const std::string& label, int total);
    void Advance();
    // Erases the line.
    void Finish();

private:
    void Draw();

    bool m_bTerminal;
    bool m_bShown = false;
    std::string m_label;
    int m_total = 0;
    int m_done = 0;
    int m_drawnStep = -1; // the last drawn per-mille, or count, to draw only what changes
};
} // namespace cli
