// The C runtime's command-line splitting and cmd's quote rule, as Microsoft documents them.
#include "medium/command_line.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

ReceivedCommandLine SplitLikeTheCRuntime(const std::string& commandLine)
{
    ReceivedCommandLine received;
    std::size_t i = 0;
    // The program name: quoted or up to the first blank, no escapes.
    std::string program;
    if (i < commandLine.size() && commandLine[i] == '"') {
        const std::size_t close = commandLine.find('"', i + 1);
        program = commandLine.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
        i = close == std::string::npos ? commandLine.size() : close + 1;
    }
    while (i < commandLine.size() && !IsBlank(commandLine[i]))
        program += commandLine[i++];
    received.argv.push_back(program);
    while (i < commandLine.size() && IsBlank(commandLine[i]))
        ++i;
    received.afterProgram = commandLine.substr(i);

    while (i < commandLine.size()) {
        std::string argument;
        bool quoted = false;
        for (; i < commandLine.size() && (quoted || !IsBlank(commandLine[i])); ++i) {
            std::size_t backslashes = 0;
            while (i < commandLine.size() && commandLine[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < commandLine.size() && commandLine[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
                    argument += '"';  // "" inside a quoted part
                    ++i;
                } else {
                    quoted = !quoted;
                }
                continue;
            }
            argument.append(backslashes, '\\');
            if (i >= commandLine.size() || (!quoted && IsBlank(commandLine[i])))
                break;
            argument += commandLine[i];
        }
        received.argv.push_back(argument);
        while (i < commandLine.size() && IsBlank(commandLine[i]))
            ++i;
    }
    return received;
}

bool CmdRunsBatchFile(const std::string& command)
{
    const bool twoQuotes = command.find('"') == std::string::npos;  // the outer two are all it holds
    const bool whitespace = command.find_first_of(" \t") != std::string::npos;
    if (twoQuotes && whitespace && command.find_first_of(CmdSpecialCharacters) == std::string::npos)
        return true;
    return !whitespace && command.find_first_of(CmdBreakingCharacters) == std::string::npos;
}
