// What running another program means on every system: its command line as Windows hands it on.
#include "system/process.h"

std::string QuotedCommandLine(const std::vector<std::string>& argv)
{
    std::string line;
    for (const std::string& argument : argv) {
        if (!line.empty())
            line += ' ';
        if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
            line += argument;
            continue;
        }
        line += '"';
        std::size_t backslashes = 0;
        for (char c : argument) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            // Backslashes before a quote are doubled, and the quote escaped.
            line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        line.append(2 * backslashes, '\\');
        line += '"';
    }
    return line;
}
