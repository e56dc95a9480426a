// Telling Windows, 16-bit and DOS programs apart by their headers.
#include "pe/executable_format.h"

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
