// Sets the process-wide double-byte mode for the length of one test.
#pragma once

#include "naming/double_byte.h"

class DoubleByteModeScope {
public:
    explicit DoubleByteModeScope(bool on) : previous_(DoubleByteMode) { DoubleByteMode = on; }
    ~DoubleByteModeScope() { DoubleByteMode = previous_; }
    DoubleByteModeScope(const DoubleByteModeScope&) = delete;
    DoubleByteModeScope& operator=(const DoubleByteModeScope&) = delete;

private:
    bool previous_;
};
