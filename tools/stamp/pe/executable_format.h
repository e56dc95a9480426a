// What kind of program a file is, from its first bytes: whether Windows can run it at all.
#pragma once

#include "base/bytes.h"

#include <cstddef>
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

// What Windows' loader makes of a Windows program's headers, as CreateProcess judges them.
struct LoaderJudgment {
    std::string refusal;           // why it starts nothing, as a clause after the file's name; empty: it starts
    std::uint64_t dataEnd = 0;     // the file offset its sections' data reach: the file holds at least that many
                                   // bytes, or the loader refuses it as cut short
    unsigned subsystemMajor = 0;   // the subsystem version the program asks for
    unsigned subsystemMinor = 0;
};

// Judges the headers of the Windows program that begins with start (its first bytes, whole
// when the file is shorter than startLimit; ClassifyExecutable says Pe, for a machine
// RunsOnX64Windows): refused when it is a DLL, not marked as an executable image, for a
// subsystem other than Windows GUI or console, asks for a subsystem version above 10.0, or
// its headers do not hold together. Never reads outside start.
LoaderJudgment JudgeProgramHeaders(const Bytes& start, std::size_t startLimit);

// The oldest Windows that starts a program asking for subsystem version major.minor ("Windows
// 8" for 6.2, "Windows 8.1" for 6.3, "Windows 10" above that), or empty for 6.1 (Windows 7)
// and below.
std::string OldestWindowsFor(unsigned major, unsigned minor);
