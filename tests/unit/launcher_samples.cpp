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
    std::string bytes(0x46, '\0');
    bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 0x40, bytes[0x40] = 'P', bytes[0x41] = 'E', bytes[0x44] = 0x4C;
    bytes[0x45] = 0x01;
    return bytes + tag;
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}
