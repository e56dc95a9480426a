// What a started program receives of its command line on Windows, which hands the line on
// exactly as it was given: how the Microsoft C runtime splits it, and how cmd runs a batch file.
#pragma once

#include <string>
#include <vector>

// A command line as a program built with the Microsoft C runtime sees it.
struct ReceivedCommandLine {
    std::vector<std::string> argv;  // argv[0] first, as the C runtime splits the line
    std::string afterProgram;       // WinMain's command line: the line after argv[0] and the blanks after it
};

// Splits commandLine by the C runtime's documented rules: arguments end at spaces and tabs
// outside double quotes; argv[0] ends at the next double quote when it starts with one, else at
// the first blank, and knows no backslash escapes; in the other arguments 2n backslashes before
// a double quote give n backslashes and the quote opens or closes a quoted part, 2n+1 give n
// backslashes and a literal quote, "" inside a quoted part gives a literal quote, and other
// backslashes are literal.
ReceivedCommandLine SplitLikeTheCRuntime(const std::string& commandLine);

// The characters that make cmd /c drop the quotes around a command: & < > ( ) @ ^ |.
constexpr char CmdSpecialCharacters[] = "&<>()@^|";

// The characters that break a path cmd reads unquoted: & < > ^ |.
constexpr char CmdBreakingCharacters[] = "&<>^|";

// Whether cmd, given `cmd /c "command"` for an existing batch file as Windows starts one, runs
// it (cmd /?): it keeps the outer quotes only when there are exactly two, nothing between them
// is a special character and at least one character is whitespace; otherwise it drops them,
// and the path unquoted runs only when it holds no whitespace and none of & < > ^ |.
bool CmdRunsBatchFile(const std::string& command);
