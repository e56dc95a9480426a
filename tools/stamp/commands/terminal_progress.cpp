// make's progress line on a terminal.
#include "commands/terminal_progress.h"

#include "system/system.h"

#include <algorithm>

std::string ProgressLine(std::uint64_t done, std::uint64_t total)
{
    const std::uint64_t percent =
        total == 0 ? 100 : std::min<std::uint64_t>(100, total < (UINT64_MAX / 100) ? done * 100 / total : done / (total / 100));
    const bool large = total >= (1u << 20);
    const std::uint64_t amount = large ? (total + (1u << 19)) >> 20 : (total + 512) >> 10;
    return "making the medium: " + std::to_string(percent) + "% of " + std::to_string(amount) + (large ? " MiB" : " KiB");
}

void TerminalProgress::Advance(std::uint64_t done, std::uint64_t total)
{
    const auto now = std::chrono::steady_clock::now();
    const bool edge = done == 0 || done >= total;
    if (!edge && now - drawn_ < std::chrono::milliseconds(100))
        return;
    drawn_ = now;
    const std::string line = ProgressLine(done, total);
    // Spaces cover what is left of a longer line before.
    WriteToTerminal("\r" + line + std::string(width_ > line.size() ? width_ - line.size() : 0, ' '));
    width_ = line.size();
}

void TerminalProgress::Finish()
{
    if (width_ != 0)
        WriteToTerminal("\r" + std::string(width_, ' ') + "\r");
    width_ = 0;
}
