// The window's remembered choices, read back from whatever the store holds.
#include "window/window_settings.h"

#include "system/system.h"

#include <algorithm>

namespace {

const StoredValue* Find(const StoredValues& stored, const std::string& name, StoredValue::Kind kind)
{
    const auto found = stored.find(name);
    return found != stored.end() && found->second.kind == kind ? &found->second : nullptr;
}

std::string RootName(std::size_t index)
{
    return "Root" + std::to_string(index + 1);
}

bool SameRoot(const std::string& a, const std::string& b)
{
    return FoldCase(a) == FoldCase(b);
}

}  // namespace

WindowSettings ReadSettings(const StoredValues& stored, const std::function<bool(const std::string&)>& folderExists,
                            const std::function<bool(unsigned)>& knownCodePage)
{
    WindowSettings settings;
    for (std::size_t i = 0; i < RememberedRoots; ++i) {
        const auto found = stored.find(RootName(i));
        if (found == stored.end())
            break;
        const StoredValue& value = found->second;
        if (value.kind != StoredValue::Kind::Text || value.text.empty() || value.text.find('\0') != std::string::npos)
            continue;
        const bool taken = std::any_of(settings.roots.begin(), settings.roots.end(),
                                       [&value](const std::string& root) { return SameRoot(root, value.text); });
        if (!taken && folderExists(value.text))
            settings.roots.push_back(value.text);
    }
    if (const StoredValue* icon = Find(stored, "Icon", StoredValue::Kind::Number); icon && icon->number <= 2)
        settings.icon = static_cast<int>(icon->number);
    if (const StoredValue* arch = Find(stored, "Architecture", StoredValue::Kind::Text);
        arch && (arch->text == "x86" || arch->text == "x64"))
        settings.arch = arch->text;
    if (const StoredValue* page = Find(stored, "CodePage", StoredValue::Kind::Number);
        page && page->number > 0 && page->number <= 65535 && knownCodePage(static_cast<unsigned>(page->number)))
        settings.codePage = static_cast<unsigned>(page->number);
    if (const StoredValue* image = Find(stored, "Image", StoredValue::Kind::Number); image && image->number <= 1)
        settings.image = image->number == 1;
    if (const StoredValue* sign = Find(stored, "SignCommand", StoredValue::Kind::Text);
        sign && sign->text.find_first_of(std::string("\0\r\n", 3)) == std::string::npos)
        settings.signCommand = sign->text;
    return settings;
}

StoredValues StoreSettings(const WindowSettings& settings)
{
    StoredValues values;
    auto text = [](const std::string& value) { return StoredValue{StoredValue::Kind::Text, value, 0}; };
    auto number = [](std::uint64_t value) { return StoredValue{StoredValue::Kind::Number, {}, value}; };
    for (std::size_t i = 0; i < settings.roots.size() && i < RememberedRoots; ++i)
        values[RootName(i)] = text(settings.roots[i]);
    values["Icon"] = number(static_cast<std::uint64_t>(settings.icon));
    values["Architecture"] = text(settings.arch);
    values["CodePage"] = number(settings.codePage);
    values["Image"] = number(settings.image ? 1 : 0);
    values["SignCommand"] = text(settings.signCommand);
    return values;
}

void RememberRoot(WindowSettings& settings, const std::string& root)
{
    if (root.empty())
        return;
    auto& roots = settings.roots;
    roots.erase(std::remove_if(roots.begin(), roots.end(), [&root](const std::string& r) { return SameRoot(r, root); }),
                roots.end());
    roots.insert(roots.begin(), root);
    if (roots.size() > RememberedRoots)
        roots.resize(RememberedRoots);
}
