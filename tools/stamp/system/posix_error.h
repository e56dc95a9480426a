// A failed POSIX call in words, shared by the POSIX files of the system room.
#pragma once

#include <cerrno>
#include <cstring>
#include <string>

namespace posix_error {

inline bool Fail(std::string& error, const std::string& what)
{
    error = what + ": " + std::strerror(errno);
    return false;
}

}  // namespace posix_error
