// launcher-stamp's entry point on POSIX systems, where arguments and output are UTF-8.
#include "commands/stamp_command.h"

#include <cstdio>

int main(int argc, char** argv)
{
    std::string out, err;
    const int status = RunStamp(std::vector<std::string>(argv + 1, argv + argc), out, err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return status;
}
