// What kind of program a file is, from its first bytes: whether Windows can run it at all.
#pragma once

#include "base/bytes.h"

#include <cstdint>
#include <string>

enum class ExecutableFormat {
    Pe,              // a Windows program (machine tells for which processor)
    SixteenBit,      // a 16-bit Windows program (NE), or an OS/2 or VxD one (LE, LX)
    Dos,             // a DOS program: an MZ header and nothing after it, or a .com without one
    NotAProgram,     // anything else (a document, a script)
};

struct Executable {
    ExecutableFormat format = ExecutableFormat::NotAProgram;
    std::uint16_t machine = 0;  // for Pe: the COFF header's machine type
};

// Classifies the file that begins with start (its first bytes, 4 KiB or more when the file has
// them) and is named fileName (a .com without an MZ header is a DOS program). Never reads
// outside start.
Executable ClassifyExecutable(const Bytes& start, const std::string& fileName);

// Whether 64-bit Windows on an x86-64 processor runs a Windows program for machine: x86 and
// x86-64 only.
bool RunsOnX64Windows(std::uint16_t machine);

// The processor a machine type names, for messages ("ARM64", "machine 0x1234").
std::string MachineName(std::uint16_t machine);
