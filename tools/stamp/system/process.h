// Running another program: without a shell, on this process's console, within a time limit.
// process_posix.cpp and process_win32.cpp supply it.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What a run of a program came to.
struct ProcessResult {
    bool started = false;   // the program was found and started (else error says why)
    bool timedOut = false;  // it ran past the time limit and was ended, with every process it started
    int exitStatus = -1;    // its exit status, when it ended by itself
    std::string output;     // what it wrote to its standard output and error, together
    std::string error;      // why it did not start, or why it was stopped
    bool stopped = false;   // it stopped (for the terminal) where it could not go on, and was ended (error says why)
    bool cancelled = false; // the caller cancelled it, and it was ended with every process it started
};

// Runs the program argv[0] (found as the system finds a program named on a command line: on
// the PATH, and on Windows with .exe added) with the arguments argv[1...], never through a
// shell. It reads this process's standard input, so a prompt on the console (a token's PIN)
// reaches the user; what it writes to its standard output and error is collected, and with
// echo also written to this process's standard error as it comes. On Windows the arguments are
// joined into one command line quoted as the C runtime splits it back. With timeoutSeconds (0:
// no limit) it is ended after that many seconds, it and every process it started (its process
// group; on Windows its job); the same as soon as cancelled (when given) says so. On POSIX, when
// this process's group is the foreground of its controlling terminal, the program's group is
// given that terminal before the program runs, so that it can prompt on /dev/tty, and this
// process takes it back afterwards; a program that stops (SIGTTIN, SIGTTOU, SIGTSTP, SIGSTOP) is
// given the terminal and continued when it did not hold it and it can be given, else ended, with
// result.stopped. Returns result.started && !result.timedOut && !result.stopped && !result.cancelled.
bool RunProcess(const std::vector<std::string>& argv, unsigned timeoutSeconds, bool echo, ProcessResult& result,
                const std::function<bool()>& cancelled = {});

// The command line Windows hands a program started with argv: each argument quoted (when it
// is empty or holds a blank or a double quote) so that the C runtime splits the line back
// into argv exactly.
std::string QuotedCommandLine(const std::vector<std::string>& argv);
