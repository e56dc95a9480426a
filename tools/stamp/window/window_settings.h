// The author's last choices in the window, kept for this user between starts: what they are,
// and how they are read back from the values a store holds, whatever those turn out to be.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// How many root folders the window remembers.
constexpr std::size_t RememberedRoots = 8;

struct WindowSettings {
    std::vector<std::string> roots;  // the last root folders, the latest first, none twice
    int icon = 0;                    // ICON_PROGRAMS_OWN, ICON_PICTURE or ICON_LAUNCHERS_OWN
    std::string arch = "x86";        // "x86" or "x64"
    unsigned codePage = 0;           // a code page the author chose; 0: this system's
    bool image = false;              // write a disc image too
    std::string signCommand;         // the author's signing command; empty: make signs nothing
};

// The longest signing command the window takes, in UTF-16 characters: the store reads a value
// back only up to 16 KB, and keeps this one sealed, which makes it larger.
constexpr std::size_t LongestSignCommand = 2000;

// A value as a store (the user's registry hive) holds it: text, a number, or anything else.
struct StoredValue {
    enum class Kind { Text, Number, Other };
    Kind kind = Kind::Other;
    std::string text;          // Text: UTF-8
    std::uint64_t number = 0;  // Number
};
using StoredValues = std::map<std::string, StoredValue>;

// The settings in stored (the names StoreSettings writes). A value of the wrong kind or out of
// range is ignored and its default taken: an icon choice past the three, an architecture other
// than x86 or x64, a code page knownCodePage refuses, an image choice other than 0 or 1, a signing
// command that holds a NUL or a line break (one line of an edit field cannot). Root
// folders are taken in order (Root1, Root2, ...) up to the first missing one, at most
// RememberedRoots; an empty one, one folderExists denies, or one already taken (letter case
// aside) is dropped.
WindowSettings ReadSettings(const StoredValues& stored, const std::function<bool(const std::string&)>& folderExists,
                            const std::function<bool(unsigned)>& knownCodePage);

// The values that hold settings, for a store that keeps them as they are.
StoredValues StoreSettings(const WindowSettings& settings);

// Puts root first among the remembered folders (moved there when it is one already, letter case
// aside), and forgets the oldest beyond RememberedRoots. An empty root changes nothing.
void RememberRoot(WindowSettings& settings, const std::string& root);

// The store, which the Windows build supplies (the user's registry hive): what it holds (nothing
// when it holds nothing or cannot be read), and writing settings there (false when it cannot).
StoredValues LoadStoredValues();
bool SaveStoredValues(const StoredValues& values);
