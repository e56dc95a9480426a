// Telling Windows, 16-bit and DOS programs apart by their headers.
#include "pe/executable_format.h"

#include <algorithm>
#include <cstdio>

namespace {

bool EndsWithCom(const std::string& name)
{
    if (name.size() < 4 || name[name.size() - 4] != '.')
        return false;
    std::string extension;
    for (std::size_t i = name.size() - 3; i < name.size(); ++i)
        extension += static_cast<char>(name[i] | 0x20);
    return extension == "com";
}

}  // namespace

Executable ClassifyExecutable(const Bytes& start, const std::string& fileName)
{
    Executable executable;
    if (start.size() < 2 || start[0] != 'M' || start[1] != 'Z') {
        if (EndsWithCom(fileName) && !start.empty())
            executable.format = ExecutableFormat::Dos;
        return executable;
    }
    executable.format = ExecutableFormat::Dos;
    if (start.size() < 0x40)
        return executable;
    const std::uint32_t offset = Little32(&start[0x3C]);
    if (offset < 0x40 || offset > start.size() || start.size() - offset < 2)
        return executable;
    const unsigned char* header = &start[offset];
    if (start.size() - offset >= 6 && header[0] == 'P' && header[1] == 'E' && header[2] == 0 && header[3] == 0) {
        executable.format = ExecutableFormat::Pe;
        executable.machine = static_cast<std::uint16_t>(Little16(header + 4));
    } else if ((header[0] == 'N' && header[1] == 'E') || (header[0] == 'L' && (header[1] == 'E' || header[1] == 'X'))) {
        executable.format = ExecutableFormat::SixteenBit;
    }
    return executable;
}

bool RunsOnX64Windows(std::uint16_t machine)
{
    return machine == 0x014C || machine == 0x8664;
}

std::string MachineName(std::uint16_t machine)
{
    switch (machine) {
    case 0x014C: return "x86";
    case 0x8664: return "x86-64";
    case 0xAA64: return "ARM64";
    case 0x01C4: return "ARM";
    case 0x0200: return "Itanium";
    default: {
        char text[24];
        std::snprintf(text, sizeof text, "machine 0x%04X", static_cast<unsigned>(machine));
        return text;
    }
    }
}

namespace {

constexpr std::uint16_t ExecutableImageFlag = 0x0002;  // IMAGE_FILE_EXECUTABLE_IMAGE
constexpr std::uint16_t DllFlag = 0x2000;              // IMAGE_FILE_DLL
constexpr std::uint16_t SubsystemWindowsGui = 2;
constexpr std::uint16_t SubsystemWindowsConsole = 3;
constexpr std::size_t SectionHeaderSize = 40;
constexpr char NotValidWin32[] = ", so Windows says it is not a valid Win32 application";

// What a subsystem other than Windows GUI or console is, in words.
std::string SubsystemText(std::uint16_t subsystem)
{
    switch (subsystem) {
    case 0: return "a program for no known subsystem";
    case 1: return "a native program (a driver or a system process that runs without a subsystem)";
    case 5: return "an OS/2 console program";
    case 7: return "a POSIX program, whose subsystem Windows no longer has";
    case 8: return "a native Windows 9x driver";
    case 9: return "a Windows CE program";
    case 10: return "an EFI application, which firmware runs before any operating system";
    case 11: return "an EFI boot service driver, which firmware loads before any operating system";
    case 12: return "an EFI runtime driver, which firmware loads before any operating system";
    case 13: return "an EFI ROM image";
    case 14: return "an Xbox program";
    case 16: return "a Windows boot application, which the boot manager runs before Windows starts";
    default: return "a program for subsystem " + std::to_string(subsystem);
    }
}

bool PowerOfTwo(std::uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

// A judgement of a program's headers under way: its first bytes, the fields read so far, and
// what is judged of them.
struct HeaderJudging {
    HeaderJudging(const Bytes& start_, bool whole_) : start(start_), whole(whole_) {}

    const Bytes& start;
    bool whole;  // start is the whole file
    LoaderJudgment judged;
    std::uint16_t machine = 0;
    std::uint32_t sectionCount = 0, optionalSize = 0;  // from the file header
    std::size_t optional = 0;                          // where the optional header begins
    std::uint32_t imageSize = 0, headersSize = 0;      // from the optional header

    // Refuses the program for refusal; false.
    bool Refuse(const std::string& refusal)
    {
        judged.refusal = refusal;
        return false;
    }

    // Refuses the program as damaged (or cut short, when start is all of it) for what; false.
    bool Broken(const std::string& what)
    {
        return Refuse(std::string(whole ? "is cut short or damaged: " : "is damaged: ") + what + NotValidWin32);
    }
};

// The file header's fields, and the refusal of a DLL and of an image not marked executable.
bool JudgeFileHeader(HeaderJudging& judging)
{
    const Bytes& start = judging.start;
    const std::size_t coff = std::size_t{Little32(&start[0x3C])} + 4;  // ClassifyExecutable found PE there
    if (coff > start.size() || start.size() - coff < 20)
        return judging.Broken("its file header ends before its fields");
    judging.machine = static_cast<std::uint16_t>(Little16(&start[coff]));
    judging.sectionCount = Little16(&start[coff + 2]);
    judging.optionalSize = Little16(&start[coff + 16]);
    const std::uint16_t characteristics = static_cast<std::uint16_t>(Little16(&start[coff + 18]));
    if ((characteristics & DllFlag) != 0)
        return judging.Refuse("is a DLL, a library that programs load, not a program: Windows starts nothing for it");
    if ((characteristics & ExecutableImageFlag) == 0)
        return judging.Refuse("is not marked as an executable image (the mark a linker sets on a program it "
                              "finished): Windows starts nothing for it");
    judging.optional = coff + 20;
    return true;
}

// The optional header's fixed fields, up to its data directories (96 bytes in PE32, 112 in
// PE32+), and the refusal of a subsystem or subsystem version Windows does not start.
bool JudgeOptionalHeader(HeaderJudging& judging)
{
    const Bytes& start = judging.start;
    LoaderJudgment& judged = judging.judged;
    const std::size_t optional = judging.optional;
    if (optional > start.size() || start.size() - optional < 2)
        return judging.Broken("its optional header is missing");
    const std::uint32_t magic = Little16(&start[optional]);
    const std::uint32_t wanted = judging.machine == 0x8664 ? 0x020B : 0x010B;
    if (magic != wanted)
        return judging.Broken(magic == 0x010B || magic == 0x020B
                                  ? "its optional header is not the one its processor's programs have"
                                  : "its optional header is of no known kind");
    const std::size_t fixed = magic == 0x010B ? 96 : 112;
    if (judging.optionalSize < fixed || start.size() - optional < fixed)
        return judging.Broken("its optional header is shorter than its fields");
    const std::uint32_t sectionAlignment = Little32(&start[optional + 32]);
    const std::uint32_t fileAlignment = Little32(&start[optional + 36]);
    judged.subsystemMajor = Little16(&start[optional + 48]);
    judged.subsystemMinor = Little16(&start[optional + 50]);
    judging.imageSize = Little32(&start[optional + 56]);
    judging.headersSize = Little32(&start[optional + 60]);
    const std::uint16_t subsystem = static_cast<std::uint16_t>(Little16(&start[optional + 68]));
    if (subsystem != SubsystemWindowsGui && subsystem != SubsystemWindowsConsole)
        return judging.Refuse("is " + SubsystemText(subsystem) + ", not a Windows program: Windows starts only "
                              "programs for its graphical or console subsystem");
    if (judged.subsystemMajor > 10 || (judged.subsystemMajor == 10 && judged.subsystemMinor > 0))
        return judging.Refuse("asks for version " + std::to_string(judged.subsystemMajor) + "." +
                              std::to_string(judged.subsystemMinor) + " of the Windows subsystem, above the 10.0 of "
                              "Windows 10 and 11" + NotValidWin32);
    if (!PowerOfTwo(sectionAlignment) || !PowerOfTwo(fileAlignment) || sectionAlignment < fileAlignment)
        return judging.Broken("its alignments are not powers of two, the one in memory at least the one in the file");
    return true;
}

// The section table: each section within the image's size, and where their data end in the file.
bool JudgeSections(HeaderJudging& judging)
{
    const Bytes& start = judging.start;
    const std::size_t sections = judging.optional + judging.optionalSize;
    if (sections > start.size() || (start.size() - sections) / SectionHeaderSize < judging.sectionCount)
        return judging.Broken("its section table runs past " +
                              std::string(judging.whole ? "the end of the file" : "its headers"));
    judging.judged.dataEnd = judging.headersSize;
    for (std::size_t i = 0; i < judging.sectionCount; ++i) {
        const unsigned char* header = &start[sections + i * SectionHeaderSize];
        const std::uint64_t virtualSize = Little32(header + 8), address = Little32(header + 12);
        const std::uint64_t rawSize = Little32(header + 16), rawOffset = Little32(header + 20);
        if (address + (virtualSize != 0 ? virtualSize : rawSize) > judging.imageSize)
            return judging.Broken("a section lies past the size of the image its headers state");
        if (rawSize != 0)
            judging.judged.dataEnd = std::max(judging.judged.dataEnd, rawOffset + rawSize);
    }
    return true;
}

}  // namespace

LoaderJudgment JudgeProgramHeaders(const Bytes& start, std::size_t startLimit)
{
    HeaderJudging judging(start, start.size() < startLimit);
    if (JudgeFileHeader(judging) && JudgeOptionalHeader(judging))
        JudgeSections(judging);
    return judging.judged;
}

std::string OldestWindowsFor(unsigned major, unsigned minor)
{
    if (major < 6 || (major == 6 && minor <= 1))
        return "";
    if (major == 6 && minor == 2)
        return "Windows 8";
    if (major == 6 && minor == 3)
        return "Windows 8.1";
    return "Windows 10";
}
