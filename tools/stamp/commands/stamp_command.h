// The launcher-stamp command: shows, sets and checks what a built launcher starts, and its icon.
#pragma once

#include <string>
#include <vector>

// How the tool was opened, which decides whether it waits for Enter before its window closes.
enum class Opening {
    AsCommand,     // from a command prompt, a script or another program: as asked, no waiting
    Help,          // with no arguments, alone on a console of its own (from Explorer): help, then wait
    CheckDropped,  // with one existing folder or file, alone on a console of its own (dropped on
                   // it in Explorer): check that, then wait
};

// The opening for a process that is or is not alone on its console, with its arguments, of
// which the only one names something that exists or not.
Opening HowOpened(bool consoleOfItsOwn, const std::vector<std::string>& arguments, bool onlyArgumentExists);

// Runs the command with its arguments (without the program name), writing what it prints
// to out and its messages to err. Returns the exit status: 0 done, 1 refused or failed
// (the file then untouched), 2 usage.
int RunStamp(const std::vector<std::string>& arguments, std::string& out, std::string& err);
