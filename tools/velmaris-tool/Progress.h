#pragma once
// Progress on a terminal: one line rewritten in place, at most ten times a
// second, and cleared at the end. Nothing at all when the stream is not a
// terminal (a pipe, a file, a test).

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace velmaris::tool {

bool IsTerminal(std::FILE* stream);

// "00:01:23.45": hours, minutes, seconds and hundredths.
std::string ElapsedText(std::chrono::nanoseconds elapsed);

// "[##########          ]  50%" in `width` characters between the brackets.
std::string ProgressBar(std::int64_t done, std::int64_t total, int width);

class ProgressLine {
public:
    ProgressLine(std::FILE* out, bool enabled)
        : out_(out)
        , enabled_(enabled)
    { }
    ~ProgressLine() { Finish(); }

    bool Enabled() const { return enabled_; }
    // True when a new line is due (ten times a second); `force` for the last one.
    bool Due(bool force = false);
    void Show(const std::string& text);
    // Clears the line.
    void Finish();

private:
    std::FILE* out_;
    bool enabled_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_ {};
};

} // namespace velmaris::tool
