// The window's remembered choices in the user's registry hive, HKEY_CURRENT_USER\Software\Launcher\make-medium:
// text as REG_SZ, numbers as REG_DWORD; the signing command, which may hold a password, as
// REG_BINARY sealed for this user (CryptProtectData), never as plain text.
#include "window/window_settings.h"

#include "system/utf16_win32.h"

#include <windows.h>
#include <wincrypt.h>

#include <string>

namespace {

// The function CRYPT32 exports under name; null when it cannot be had. CRYPT32 is no known DLL:
// imported, it would be looked for beside make-medium.exe first (a DLL planted in Downloads)
// before any code of ours runs. So it is loaded when first needed, by its full path in the
// system folder, the DLLs it needs from there too.
void* Crypt32Function(const char* name)
{
    static const HMODULE module = [] {
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return HMODULE{};
        const std::wstring path = std::wstring(folder, length) + L"\\crypt32.dll";
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }();
    return module == nullptr ? nullptr : reinterpret_cast<void*>(GetProcAddress(module, name));
}

using CryptFunction = BOOL(WINAPI*)(DATA_BLOB*, LPCWSTR, DATA_BLOB*, PVOID, CRYPTPROTECT_PROMPTSTRUCT*, DWORD, DATA_BLOB*);
using UncryptFunction = BOOL(WINAPI*)(DATA_BLOB*, LPWSTR*, DATA_BLOB*, PVOID, CRYPTPROTECT_PROMPTSTRUCT*, DWORD, DATA_BLOB*);

const wchar_t SettingsKey[] = L"Software\\Launcher\\make-medium";

// The value kept sealed.
const char SealedName[] = "SignCommand";

// Text sealed for this user on this machine; empty when it cannot be.
std::vector<BYTE> Seal(const std::wstring& text)
{
    DATA_BLOB in{static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                 reinterpret_cast<BYTE*>(const_cast<wchar_t*>(text.data()))},
        out{};
    std::vector<BYTE> sealed;
    const auto protect = reinterpret_cast<CryptFunction>(Crypt32Function("CryptProtectData"));
    if (protect != nullptr &&
        protect(&in, L"make-medium signing command", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
        sealed.assign(out.pbData, out.pbData + out.cbData);
        LocalFree(out.pbData);
    }
    return sealed;
}

// The text sealed in data; false when it is not one this user sealed, or is damaged.
bool Unseal(const BYTE* data, DWORD size, std::wstring& text)
{
    DATA_BLOB in{size, const_cast<BYTE*>(data)}, out{};
    const auto unprotect = reinterpret_cast<UncryptFunction>(Crypt32Function("CryptUnprotectData"));
    if (size == 0 || unprotect == nullptr ||
        !unprotect(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return false;
    const bool whole = out.cbData % sizeof(wchar_t) == 0;
    if (whole)
        text.assign(reinterpret_cast<const wchar_t*>(out.pbData), out.cbData / sizeof(wchar_t));
    SecureZeroMemory(out.pbData, out.cbData);
    LocalFree(out.pbData);
    return whole;
}

}  // namespace

StoredValues LoadStoredValues()
{
    StoredValues values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 0;
        std::vector<BYTE> data(16384);  // a sealed signing command of LongestSignCommand characters fits
        size = static_cast<DWORD>(data.size());
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data.data(), &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        StoredValue value;  // Other unless it is one of the two kinds, whole
        const bool sealed = Utf8FromUtf16(std::wstring(name, nameLength)) == SealedName;
        std::wstring unsealed;
        if (sealed) {
            // Only as this user sealed it; plain text there is taken for damage.
            if (result == ERROR_SUCCESS && type == REG_BINARY && Unseal(data.data(), size, unsealed)) {
                value.kind = StoredValue::Kind::Text;
                value.text = Utf8FromUtf16(unsealed);
            }
        } else if (result == ERROR_SUCCESS && type == REG_SZ && size % sizeof(wchar_t) == 0) {
            std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
            // The terminating NUL, when the value has one; one inside it stays, and is refused.
            if (!text.empty() && text.back() == L'\0')
                text.pop_back();
            value.kind = StoredValue::Kind::Text;
            value.text = Utf8FromUtf16(text);
        } else if (result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD number = 0;
            memcpy(&number, data.data(), sizeof number);
            value.kind = StoredValue::Kind::Number;
            value.number = number;
        }
        if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)
            values[Utf8FromUtf16(std::wstring(name, nameLength))] = value;
    }
    RegCloseKey(key);
    return values;
}

bool SaveStoredValues(const StoredValues& values)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    // Root folders no longer remembered go.
    for (std::size_t i = 1; i <= RememberedRoots; ++i) {
        const std::string name = "Root" + std::to_string(i);
        if (values.count(name) == 0)
            RegDeleteValueW(key, Utf16FromUtf8(name).c_str());
    }
    bool saved = true;
    for (const auto& [name, value] : values) {
        const std::wstring wideName = Utf16FromUtf8(name);
        LONG result = ERROR_SUCCESS;
        if (value.kind == StoredValue::Kind::Text && name == SealedName) {
            // An empty command is no value; one that cannot be sealed is not kept.
            const std::vector<BYTE> sealed = value.text.empty() ? std::vector<BYTE>() : Seal(Utf16FromUtf8(value.text));
            if (sealed.empty())
                RegDeleteValueW(key, wideName.c_str());
            else
                result = RegSetValueExW(key, wideName.c_str(), 0, REG_BINARY, sealed.data(), static_cast<DWORD>(sealed.size()));
            saved = saved && (value.text.empty() || !sealed.empty());
        } else if (value.kind == StoredValue::Kind::Text) {
            const std::wstring text = Utf16FromUtf8(value.text);
            result = RegSetValueExW(key, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        } else if (value.kind == StoredValue::Kind::Number) {
            const DWORD number = static_cast<DWORD>(value.number);
            result = RegSetValueExW(key, wideName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        }
        saved = saved && result == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return saved;
}
