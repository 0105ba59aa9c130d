// A one-line progress display on standard error, drawn only when standard error is a terminal: a bar when the
// total is known, a running count otherwise, of steps (items) or of bytes. Output on standard output is never
// touched.
#pragma once

#include <cstdint>
#include <string>

namespace cli
{
enum class ProgressUnit
{
    kSteps,
    kBytes
};

// A byte count for people: "512 B", "1.5 KB", "12.3 MB" (units of 1000).
std::string ByteCountText(std::int64_t bytes);

// The text of the line (without the carriage return and the erase that frame it): "label [####......] 3/10",
// "label [####......] 1.2 MB / 3.0 MB", or with total <= 0 (not known) "label: 3" and "label: 1.2 MB". A done
// count past the total fills the bar and no more. Control characters in the label (names from the store, file
// names) are shown escaped, as everywhere else.
std::string ProgressLine(const std::string& label, std::int64_t done, std::int64_t total, ProgressUnit unit);

// Trace lines written to standard error would land inside the bar's line: a host that traces there draws no bars.
void SuppressProgressBars();

// Erases a bar's line that is on the screen; safe in a signal handler, for the Ctrl-C that ends the process.
void EraseProgressLineFromSignal();

class ProgressBar
{
public:
    ProgressBar();
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Whether anything is drawn at all: standard error is a terminal.
    bool IsDrawn() const { return m_bTerminal; }

    // total <= 0: the total is not known in advance.
    void Start(const std::string& label, std::int64_t total, ProgressUnit unit = ProgressUnit::kSteps);
    // One more step.
    void Advance();
    // So much is done now.
    void Update(std::int64_t done);
    // Erases the line.
    void Finish();

private:
    void Draw();

    bool m_bTerminal;
    bool m_bShown = false;
    std::string m_label;
    ProgressUnit m_unit = ProgressUnit::kSteps;
    std::int64_t m_total = 0;
    std::int64_t m_done = 0;
    std::string m_drawnLine; // to draw only what changes
};
} // namespace cli
