// Reading the run level from a program's manifest.
#include "pe/run_level.h"

#include "pe/resource_directory.h"


namespace {

constexpr std::uint32_t TypeManifest = 24;         // RT_MANIFEST
constexpr std::uint32_t ProgramManifestId = 1;     // CREATEPROCESS_MANIFEST_RESOURCE_ID

// The level attribute of the requestedExecutionLevel element, read as the XML it is in: an
// attribute name after white space, an equals sign, a value in single or double quotes.
RunLevel ParseRunLevel(const std::string& manifest)
{
    const std::string element = "requestedExecutionLevel";
    const std::size_t start = manifest.find(element);
    if (start == std::string::npos)
        return RunLevel::Unstated;
    const std::string tag = manifest.substr(start + element.size(), manifest.find('>', start) - start - element.size());
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    for (std::size_t at = tag.find("level"); at != std::string::npos; at = tag.find("level", at + 1)) {
        std::size_t i = at + 5;
        if (at == 0 || !isSpace(tag[at - 1]))
            continue;
        while (i < tag.size() && isSpace(tag[i]))
            ++i;
        if (i >= tag.size() || tag[i++] != '=')
            continue;
        while (i < tag.size() && isSpace(tag[i]))
            ++i;
        if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\''))
            continue;
        const std::size_t close = tag.find(tag[i], i + 1);
        const std::string value = tag.substr(i + 1, close == std::string::npos ? 0 : close - i - 1);
        if (value == "requireAdministrator")
            return RunLevel::RequireAdministrator;
        if (value == "highestAvailable")
            return RunLevel::HighestAvailable;
        return value == "asInvoker" ? RunLevel::AsInvoker : RunLevel::Unstated;
    }
    return RunLevel::Unstated;
}

}  // namespace

bool ProgramRunLevel(const Bytes& program, LauncherImage& image, RunLevel& level, std::string& error)
{
    level = RunLevel::Unstated;
    if (!ReadProgramImage(program, image, error))
        return false;
    std::size_t base = 0;
    if (image.resourceRva == 0)
        return true;
    if (!RvaToOffset(program, image, image.resourceRva, image.resourceSize, base)) {
        error = "the program's resource directory lies outside the file";
        return false;
    }
    Directory directory(program.data() + base, image.resourceSize, base);
    std::uint32_t names = 0, languages = 0, rva = 0, size = 0;
    std::size_t offset = 0;
    if (!FindEntry(directory, 0, TypeManifest, nullptr, true, names) ||
        !FindEntry(directory, names & ~ResourceHighBit, ProgramManifestId, nullptr, true, languages))
        return true;
    if (!LanguageData(directory, languages, false, rva, size) || !RvaToOffset(program, image, rva, size, offset)) {
        error = "the program's manifest lies outside the file";
        return false;
    }
    level = ParseRunLevel(std::string(program.begin() + static_cast<std::ptrdiff_t>(offset),
                                      program.begin() + static_cast<std::ptrdiff_t>(offset + size)));
    return true;
}
