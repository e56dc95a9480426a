// The launcher-stamp command: shows, sets and checks what a built launcher starts, and its icon.
#pragma once

#include <string>
#include <vector>

// Runs the command with its arguments (without the program name), writing what it prints
// to out and its messages to err. Returns the exit status: 0 done, 1 refused or failed
// (the file then untouched), 2 usage.
int RunStamp(const std::vector<std::string>& arguments, std::string& out, std::string& err);
