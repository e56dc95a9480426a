// Running another program on POSIX systems: fork and exec in a process group of its own.
#include "system/process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Reads what is there on fd into output (and, with echo, onto standard error). False at its end.
bool Drain(int fd, bool echo, std::string& output)
{
    char buffer[4096];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0)
        return got < 0 && errno == EINTR;
    output.append(buffer, static_cast<std::size_t>(got));
    if (echo) {
        ssize_t ignored = write(STDERR_FILENO, buffer, static_cast<std::size_t>(got));
        (void)ignored;
    }
    return true;
}

// The controlling terminal, opened, when this process's group is its foreground; -1 otherwise.
int ForegroundTerminal()
{
    const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0 && tcgetpgrp(fd) != getpgrp()) {
        close(fd);
        return -1;
    }
    return fd;
}

// Makes group the terminal's foreground. The caller blocks SIGTTOU, which a background group
// would otherwise get for it.
bool GiveTerminal(int terminal, pid_t group)
{
    return terminal >= 0 && tcsetpgrp(terminal, group) == 0;
}

const char* StopSignalName(int signal)
{
    return signal == SIGTTIN ? "SIGTTIN" : signal == SIGTTOU ? "SIGTTOU" : signal == SIGTSTP ? "SIGTSTP" : "SIGSTOP";
}

// Opens the pipe the program's output comes on and the one its exec's failure comes back on,
// the ends it must not inherit closed on exec; false with the reason in error.
bool OpenPipes(int output[2], int failure[2], std::string& error)
{
    if (pipe(output) != 0)
        return error = std::strerror(errno), false;
    if (pipe(failure) != 0) {
        error = std::strerror(errno);
        close(output[0]);
        close(output[1]);
        return false;
    }
    fcntl(output[0], F_SETFD, FD_CLOEXEC);
    fcntl(failure[0], F_SETFD, FD_CLOEXEC);
    fcntl(failure[1], F_SETFD, FD_CLOEXEC);
    return true;
}

// In the child: a group of its own, given the terminal, its output on the pipe, then the
// program; exec's error goes back on the failure pipe. Never returns.
[[noreturn]] void RunChild(std::vector<char*>& args, const int output[2], const int failure[2], int terminal,
                           const sigset_t& unblocked)
{
    setpgid(0, 0);
    GiveTerminal(terminal, getpid());
    sigprocmask(SIG_SETMASK, &unblocked, nullptr);
    dup2(output[1], STDOUT_FILENO);
    dup2(output[1], STDERR_FILENO);
    execvp(args[0], args.data());
    const int code = errno;
    ssize_t ignored = write(failure[1], &code, sizeof code);
    (void)ignored;
    _exit(127);
}

// Taken back from a program that has ended or failed to start, and SIGTTOU as it was.
void TakeTerminalBack(int terminal, const sigset_t& unblocked)
{
    if (terminal >= 0) {
        GiveTerminal(terminal, getpgrp());
        close(terminal);
    }
    pthread_sigmask(SIG_SETMASK, &unblocked, nullptr);
}

// After the fork, with the child's ends of the pipes closed: whether the program runs. False
// with the reason in result when the fork failed or the program could not be executed, its
// pipes closed and the terminal taken back then.
bool ChildStarted(pid_t child, int output, int failure, int terminal, const sigset_t& unblocked, ProcessResult& result)
{
    if (child < 0) {
        result.error = std::strerror(errno);
        close(output);
        close(failure);
        TakeTerminalBack(terminal, unblocked);
        return false;
    }
    setpgid(child, child);
    GiveTerminal(terminal, child);  // also here, whichever of us comes first
    int code = 0;
    const bool execFailed = read(failure, &code, sizeof code) == static_cast<ssize_t>(sizeof code);
    close(failure);
    if (execFailed) {
        waitpid(child, nullptr, 0);
        close(output);
        TakeTerminalBack(terminal, unblocked);
        result.error = std::strerror(code);
        return false;
    }
    return true;
}

// Waits for the child to end, its output read from fd meanwhile (open: the pipe still is);
// ends it and its group when it stops for good, is cancelled or runs out of time (result says
// which). status gets its wait status.
void WaitForEnd(pid_t child, int fd, int terminal, unsigned timeoutSeconds, bool echo,
                const std::function<bool()>& cancelled, ProcessResult& result, int& status, bool& open)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool ended = false;
    // Ends it and every process of its group, stopped or not.
    auto end = [&](bool& why) {
        kill(-child, SIGKILL);
        waitpid(child, &status, 0);
        why = true;
        ended = true;
    };
    while (!ended) {
        pollfd watched{fd, POLLIN, 0};
        if (open && poll(&watched, 1, 50) > 0)
            open = Drain(fd, echo, result.output);
        else if (!open)
            usleep(50 * 1000);
        // A stopped program is seen too: it would otherwise be waited on for ever.
        const pid_t waited = waitpid(child, &status, WNOHANG | WUNTRACED);
        ended = waited == child && !WIFSTOPPED(status);
        if (waited == child && WIFSTOPPED(status)) {
            // Stopped for the terminal while it did not hold it: given it, it goes on. Holding
            // it, or with no terminal to give, it would wait for ever.
            const int signal = WSTOPSIG(status);
            const bool holds = terminal >= 0 && tcgetpgrp(terminal) == child;
            if (!holds && GiveTerminal(terminal, child)) {
                kill(-child, SIGCONT);
                continue;
            }
            result.error = std::string("stopped (") + StopSignalName(signal) + ")" +
                           (holds ? " while it held the terminal"
                                  : ", and the terminal cannot be given to it (there is none, or launcher-stamp "
                                    "runs in the background)");
            end(result.stopped);
        } else if (!ended && cancelled && cancelled()) {
            end(result.cancelled);
        } else if (!ended && timeoutSeconds != 0 && std::chrono::steady_clock::now() >= deadline) {
            end(result.timedOut);
        }
    }
}

}  // namespace

bool RunProcess(const std::vector<std::string>& argv, unsigned timeoutSeconds, bool echo, ProcessResult& result,
                const std::function<bool()>& cancelled)
{
    result = ProcessResult();
    if (argv.empty() || argv[0].empty()) {
        result.error = "no program named";
        return false;
    }
    int output[2], failure[2];
    if (!OpenPipes(output, failure, result.error))
        return false;
    std::vector<char*> args;
    for (const std::string& argument : argv)
        args.push_back(const_cast<char*>(argument.c_str()));
    args.push_back(nullptr);

    // On a terminal, the program's group is given its foreground before the program runs, so
    // that a prompt for a PIN on /dev/tty reaches the user at once; ours takes it back afterwards.
    // SIGTTOU stays blocked meanwhile: our group is in the background then, and still writes.
    const int terminal = ForegroundTerminal();
    sigset_t ttou, unblocked;
    sigemptyset(&ttou);
    sigaddset(&ttou, SIGTTOU);
    pthread_sigmask(SIG_BLOCK, &ttou, &unblocked);
    const pid_t child = fork();
    if (child == 0)
        RunChild(args, output, failure, terminal, unblocked);
    close(output[1]);
    close(failure[1]);
    if (!ChildStarted(child, output[0], failure[0], terminal, unblocked, result))
        return false;
    result.started = true;

    int status = 0;
    bool open = true;
    WaitForEnd(child, output[0], terminal, timeoutSeconds, echo, cancelled, result, status, open);
    // What it wrote just before it ended; a process it left behind that still holds the pipe
    // is not waited for.
    fcntl(output[0], F_SETFL, O_NONBLOCK);
    while (open && Drain(output[0], echo, result.output)) {
    }
    close(output[0]);
    TakeTerminalBack(terminal, unblocked);
    if (result.timedOut || result.stopped || result.cancelled)
        return false;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}
