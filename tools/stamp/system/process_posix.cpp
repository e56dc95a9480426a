// Running another program on POSIX systems: fork and exec in a process group of its own.
#include "system/process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
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

}  // namespace

bool RunProcess(const std::vector<std::string>& argv, unsigned timeoutSeconds, bool echo, ProcessResult& result)
{
    result = ProcessResult();
    if (argv.empty() || argv[0].empty()) {
        result.error = "no program named";
        return false;
    }
    int output[2], failure[2];
    if (pipe(output) != 0)
        return result.error = std::strerror(errno), false;
    if (pipe(failure) != 0) {
        result.error = std::strerror(errno);
        close(output[0]);
        close(output[1]);
        return false;
    }
    fcntl(output[0], F_SETFD, FD_CLOEXEC);
    fcntl(failure[0], F_SETFD, FD_CLOEXEC);
    fcntl(failure[1], F_SETFD, FD_CLOEXEC);
    std::vector<char*> args;
    for (const std::string& argument : argv)
        args.push_back(const_cast<char*>(argument.c_str()));
    args.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        execvp(args[0], args.data());
        const int code = errno;
        ssize_t ignored = write(failure[1], &code, sizeof code);
        (void)ignored;
        _exit(127);
    }
    close(output[1]);
    close(failure[1]);
    if (child < 0) {
        result.error = std::strerror(errno);
        close(output[0]);
        close(failure[0]);
        return false;
    }
    setpgid(child, child);
    int code = 0;
    const bool execFailed = read(failure[0], &code, sizeof code) == static_cast<ssize_t>(sizeof code);
    close(failure[0]);
    if (execFailed) {
        waitpid(child, nullptr, 0);
        close(output[0]);
        result.error = std::strerror(code);
        return false;
    }
    result.started = true;

    // On a terminal, its process group is given the foreground while it runs, so that it may
    // read a prompt's answer; ours takes it back afterwards.
    const bool foreground = isatty(STDIN_FILENO) && tcgetpgrp(STDIN_FILENO) == getpgrp();
    void (*previous)(int) = SIG_DFL;
    if (foreground) {
        previous = std::signal(SIGTTOU, SIG_IGN);
        tcsetpgrp(STDIN_FILENO, child);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    bool ended = false, open = true;
    while (!ended) {
        pollfd watched{output[0], POLLIN, 0};
        if (open && poll(&watched, 1, 50) > 0)
            open = Drain(output[0], echo, result.output);
        else if (!open)
            usleep(50 * 1000);
        const pid_t waited = waitpid(child, &status, WNOHANG);
        ended = waited == child;
        if (!ended && timeoutSeconds != 0 && std::chrono::steady_clock::now() >= deadline) {
            kill(-child, SIGKILL);
            waitpid(child, &status, 0);
            result.timedOut = true;
            ended = true;
        }
    }
    // What it wrote just before it ended; a process it left behind that still holds the pipe
    // is not waited for.
    fcntl(output[0], F_SETFL, O_NONBLOCK);
    while (open && Drain(output[0], echo, result.output)) {
    }
    close(output[0]);
    if (foreground) {
        tcsetpgrp(STDIN_FILENO, getpgrp());
        std::signal(SIGTTOU, previous);
    }
    if (result.timedOut)
        return false;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}
