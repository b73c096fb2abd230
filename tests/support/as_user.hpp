#pragma once
// Runs a piece of a test as an ordinary user. Under root (as CI runs) the
// piece runs in a child process that drops to the unprivileged "nobody"
// account, so permission checks apply as they do for users; otherwise it
// runs in a child as the current user.
#include <functional>
#include <grp.h>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

inline constexpr uid_t nobody_id = 65534;

// The user the piece runs as: files it should own are chowned to it.
inline uid_t ordinary_uid() { return ::geteuid() == 0 ? nobody_id : ::geteuid(); }
inline gid_t ordinary_gid() { return ::geteuid() == 0 ? static_cast<gid_t>(nobody_id) : ::getegid(); }

struct ChildOutcome {
    bool exited = false;  // false: killed by a signal
    int code = -1;
    std::string output;  // what the piece returned
};

inline ChildOutcome run_as_ordinary_user(const std::function<std::string()>& piece) {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe_fds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(ordinary_gid()) != 0 || ::setuid(ordinary_uid()) != 0))
            ::_exit(99);
        const std::string out = piece();
        [[maybe_unused]] const ssize_t written = ::write(pipe_fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(pipe_fds[1]);
    ChildOutcome outcome;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;) outcome.output.append(buffer, n);
    ::close(pipe_fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.exited = WIFEXITED(status);
    outcome.code = outcome.exited ? WEXITSTATUS(status) : -1;
    return outcome;
}
