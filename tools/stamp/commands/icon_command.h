// launcher-stamp set-icon and get-icon: the launcher's icon from and to picture files.
#pragma once

#include <string>

// What the icon subcommands were given.
struct IconOptions {
    std::string file;     // the launcher
    std::string picture;  // set-icon: the picture to take; get-icon: the .ico file to write
    std::string output;   // set-icon: where to write the changed launcher (empty: over file)
    bool force = false;   // set-icon: change a signed launcher too
};

// Makes the picture the launcher's icon, written atomically. Returns 0, or 1 with the file
// left byte for byte as it was: not one of our launchers, signed without force, a picture
// that cannot be decoded, or an icon resource without the expected shape.
int SetIcon(const IconOptions& options, std::string& err);

// Writes the launcher's icon as an .ico file. Returns 0, or 1 when it cannot.
int GetIcon(const IconOptions& options, std::string& err);
