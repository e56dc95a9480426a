// Launchers built by this project, for the stamping tool's tests.
#include "launcher_samples.h"

#include <unistd.h>

#include <fstream>
#include <iterator>

std::vector<std::string> LauncherSamples()
{
    std::vector<std::string> found;
    for (const char* path : {LAUNCHER_SAMPLE_X64, LAUNCHER_SAMPLE_X86}) {
        if (std::ifstream(path).good())
            found.emplace_back(path);
    }
    return found;
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t Get32(const Bytes& bytes, std::size_t offset)
{
    return static_cast<std::uint32_t>(bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16) |
           static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24;
}

void Put32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t k = 0; k < 4; ++k)
        bytes.at(offset + k) = static_cast<unsigned char>(value >> (8 * k));
}

std::filesystem::path TestFolder(const std::string& name)
{
    return std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()));
}

std::string TestProgram(const std::string& tag)
{
    // The headers (0x200 bytes) of an x86-64 program for the Windows GUI subsystem 5.2, then its
    // one section's 0x200 bytes of data, then tag. A 64-bit program: Windows' installer
    // detection, which asks for administrator rights for a 32-bit "setup", leaves it alone.
    std::string bytes(0x400, '\0');
    auto put16 = [&bytes](std::size_t at, unsigned value) {
        bytes[at] = static_cast<char>(value & 0xFF);
        bytes[at + 1] = static_cast<char>(value >> 8);
    };
    auto put32 = [&](std::size_t at, unsigned value) {
        put16(at, value & 0xFFFF);
        put16(at + 2, value >> 16);
    };
    bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 0x40, bytes[0x40] = 'P', bytes[0x41] = 'E';
    put16(0x44, 0x8664);  // machine: x86-64
    put16(0x46, 1);       // one section
    put16(0x54, 0xF0);    // the optional header's size
    put16(0x56, 0x0022);  // an executable image, large-address aware
    const std::size_t optional = 0x58;
    put16(optional, 0x020B);       // PE32+
    put32(optional + 16, 0x1000);  // entry point
    put32(optional + 24, 0x40000000);  // image base 0x140000000
    put32(optional + 28, 0x1);
    put32(optional + 32, 0x1000);  // section alignment
    put32(optional + 36, 0x200);   // file alignment
    put16(optional + 40, 5);       // operating system 5.2
    put16(optional + 42, 2);
    put16(optional + 48, 5);       // subsystem 5.2
    put16(optional + 50, 2);
    put32(optional + 56, 0x2000);  // image size
    put32(optional + 60, 0x200);   // headers' size
    put16(optional + 68, 2);       // the Windows GUI subsystem
    put32(optional + 108, 16);     // data directories
    const std::size_t section = optional + 0xF0;
    bytes.replace(section, 5, ".text");
    put32(section + 8, 0x10);
    put32(section + 12, 0x1000);
    put32(section + 16, 0x200);
    put32(section + 20, 0x200);
    put32(section + 36, 0x60000020);  // code, executable, readable
    bytes[0x200] = '\xC3';           // ret
    return bytes + tag;
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}
