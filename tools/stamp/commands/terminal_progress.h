// make's progress as one line on a terminal's standard error, drawn again in place as it goes.
#pragma once

#include "image/progress.h"

#include <chrono>
#include <cstdint>
#include <string>

// The line for done of total bytes: "making the medium: 45% of 700 MiB" (KiB below 1 MiB, whole
// per cent, never past 100).
std::string ProgressLine(std::uint64_t done, std::uint64_t total);

// Draws ProgressLine on the terminal (WriteToTerminal): at the start and the end of each piece of
// work, and between at most ten times a second. Never cancels. Finish clears the line.
class TerminalProgress : public Progress {
public:
    void Advance(std::uint64_t done, std::uint64_t total) override;
    bool Cancelled() override { return false; }
    void Finish();

private:
    std::chrono::steady_clock::time_point drawn_{};
    std::size_t width_ = 0;  // of the line on the terminal now
};
