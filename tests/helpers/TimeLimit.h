#pragma once

#include <cerrno>
#include <cstdio>
#include <csignal>
#include <functional>
#include <string>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_helpers
{
/** How work run by runWithTimeLimit ended. */
struct ChildOutcome
{
    bool exited = false; // the work returned (or the child exited) within the time limit
    int exitCode = -1;   // the child's exit status when it exited
    int signal = 0;      // the signal that ended it otherwise: SIGALRM when the time ran out

    bool succeeded() const { return exited && exitCode == 0; }
};

/** Runs work in a fork()ed child that an alarm ends after the given number of seconds, so that a
    hang fails the test instead of stopping the suite. The child holds a copy of everything the
    test set up; it leaves with _exit and the work's result as its exit status, running no
    destructors or exit handlers of the test. GoogleTest assertions made in the child are not
    counted by the parent: the work checks for itself, prints what went wrong to stderr and
    returns non-zero (or writes into memory mapped shared before the call). Work made of many
    inputs may call alarm() again before each one, giving each the time limit. */
inline ChildOutcome runWithTimeLimit (unsigned int seconds, const std::function<int()>& work)
{
    std::fflush (nullptr);
    const pid_t child = ::fork();

    if (child == 0)
    {
        ::alarm (seconds);
        const int result = work();
        std::fflush (nullptr);
        ::_exit (result);
    }

    ChildOutcome outcome;

    if (child < 0)
        return outcome;

    int status = 0;

    while (::waitpid (child, &status, 0) < 0)
        if (errno != EINTR)
            return outcome;

    if (WIFEXITED (status))
    {
        outcome.exited = true;
        outcome.exitCode = WEXITSTATUS (status);
    }
    else if (WIFSIGNALED (status))
    {
        outcome.signal = WTERMSIG (status);
    }

    return outcome;
}

/** "exit status 1", "out of time" or "signal 11", for failure messages. */
inline std::string describe (const ChildOutcome& outcome)
{
    if (outcome.exited)
        return "exit status " + std::to_string (outcome.exitCode);

    if (outcome.signal == SIGALRM)
        return "out of time";

    return "signal " + std::to_string (outcome.signal);
}
} // namespace testing_helpers
