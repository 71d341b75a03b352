#include "Progress.h"

#include <algorithm>
#include <unistd.h>

namespace velmaris::tool {

bool IsTerminal(std::FILE* stream)
{
    return ::isatty(fileno(stream)) == 1;
}

std::string ElapsedText(std::chrono::nanoseconds elapsed)
{
    const long long cs = std::max<long long>(0, elapsed.count() / 10'000'000);
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld", cs / 360000, cs / 6000 % 60,
        cs / 100 % 60, cs % 100);
    return text;
}

std::string ProgressBar(std::int64_t done, std::int64_t total, int width)
{
    const std::int64_t clamped = std::clamp<std::int64_t>(done, 0, std::max<std::int64_t>(total, 0));
    const int filled = total > 0 ? static_cast<int>(clamped * width / total) : 0;
    const int percent = total > 0 ? static_cast<int>(clamped * 100 / total) : 0;
    char tail[16];
    std::snprintf(tail, sizeof tail, "] %3d%%", percent);
    return "[" + std::string(std::size_t(filled), '#') + std::string(std::size_t(width - filled), ' ') + tail;
}

bool ProgressLine::Due(bool force)
{
    if (!enabled_)
        return false;
    const auto now = std::chrono::steady_clock::now();
    if (!force && shown_ && now - last_ < std::chrono::milliseconds(100))
        return false;
    last_ = now;
    return true;
}

void ProgressLine::Show(const std::string& text)
{
    if (!enabled_)
        return;
    // Carriage return, the text, then erase what a longer line left.
    std::fprintf(out_, "\r%s\x1b[K", text.c_str());
    std::fflush(out_);
    shown_ = true;
}

void ProgressLine::Finish()
{
    if (enabled_ && shown_) {
        std::fputs("\r\x1b[K", out_);
        std::fflush(out_);
    }
    shown_ = false;
}

} // namespace velmaris::tool
