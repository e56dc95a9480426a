// The launch directory field's rules and contents.
#include "pe/launch_field.h"

#include "base/unicode.h"
#include "base/windows_path.h"
#include "system/system.h"

#include <cstring>

namespace {

// Whether a relative path leads back to the folder it starts in, as Windows normalises it
// ("...", ". " and "a\\.." do too).
bool LeadsToItsOwnFolder(const std::string& path)
{
    const std::vector<std::string> start{"<start>"};
    return NormalisePath(start, path) == start;
}

}  // namespace

bool ReadFieldName(const Bytes& bytes, const LauncherImage& image, std::string& name)
{
    const unsigned char* field = bytes.data() + image.fieldOffset;
    const void* terminator = std::memchr(field, 0, FieldSize);
    if (terminator == nullptr)
        return false;
    const auto length = static_cast<std::size_t>(static_cast<const unsigned char*>(terminator) - field);
    for (std::size_t i = length; i < FieldSize; ++i) {
        if (field[i] != 0)
            return false;
    }
    name.assign(reinterpret_cast<const char*>(field), length);
    return length > 0;
}

bool CheckNewName(const std::string& utf8Name, std::string& error)
{
    if (utf8Name.empty()) {
        error = "the name is empty";
        return false;
    }
    const bool hasDrive = DriveLetterOf(utf8Name) != 0;
    for (std::size_t i = 0; i < utf8Name.size();) {
        const std::size_t at = i;
        const unsigned c = NextCodePoint(utf8Name, i);
        const bool forbidden = c < 0x20 || (c < 0x80 && std::strchr("<>\"|?*", static_cast<int>(c)) != nullptr) ||
                               (c == ':' && !(hasDrive && at == 1));
        if (forbidden) {
            error = c < 0x20 ? "the name holds a control character"
                             : std::string("the name holds '") + static_cast<char>(c) + "', which Windows forbids in a path";
            return false;
        }
    }
    const std::string device = ReservedDeviceComponent(hasDrive ? utf8Name.substr(2) : utf8Name);
    if (!device.empty()) {
        error = "the name holds \"" + device + "\", a device name Windows reserves, as a folder";
        return false;
    }
    const bool rooted = utf8Name[0] == '\\' || utf8Name[0] == '/' ||
                        (hasDrive && utf8Name.size() > 2 && (utf8Name[2] == '\\' || utf8Name[2] == '/'));
    if (!rooted && LeadsToItsOwnFolder(hasDrive ? utf8Name.substr(2) : utf8Name)) {
        error = "the name leads to the launcher's own folder, so the launcher would start itself again and again";
        return false;
    }
    return true;
}

std::vector<std::string> NewNameWarnings(const std::string& utf8Name)
{
    std::vector<std::string> warnings;
    if (const std::string reading = HowWindowsReadsComponents(utf8Name); !reading.empty())
        warnings.push_back(reading);
    const bool hasDrive = DriveLetterOf(utf8Name) != 0;
    if (NormalisePath({}, hasDrive ? utf8Name.substr(2) : utf8Name).empty())
        warnings.push_back("\"" + utf8Name + "\" leads back to the medium's root from there: a launcher at the root "
                           "would start itself again and again");
    return warnings;
}

bool FieldNameFor(const std::string& utf8Name, unsigned codePage, std::string& stored, std::string& error)
{
    if (!CheckNewName(utf8Name, error) || !ToCodePage(utf8Name, codePage, stored, error))
        return false;
    if (stored.size() >= FieldSize) {
        error = "the name takes " + std::to_string(stored.size()) + " bytes in code page " + std::to_string(codePage) +
                "; the field holds at most 1023";
        return false;
    }
    return true;
}

void WriteFieldName(Bytes& bytes, const LauncherImage& image, const std::string& name)
{
    unsigned char* field = bytes.data() + image.fieldOffset;
    std::memset(field, 0, FieldSize);
    std::memcpy(field, name.data(), name.size());
    UpdateChecksum(bytes, image);
}
