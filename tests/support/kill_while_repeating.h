#pragma once

// A process killed in the middle of a change, as kill -9 or a power cut ends one: a child runs the
// change over and over and is killed once two rounds are done, so it dies somewhere inside a later
// one, at whatever point the scheduler happens to leave it.

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace sorakado::testing {

// round runs in the child alone: a ledger it needs is opened there (a connection must not cross a
// fork), for instance into a std::optional on its first call.
inline void killWhileRepeating(const std::function<void()>& round) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        for (int done = 1;; ++done) {
            try {
                round();
            } catch (...) {
                ::_exit(1); // the parent sees the pipe close without word
            }
            if (done == 2 && ::write(ready[1], "x", 1) != 1)
                ::_exit(1);
        }
    }
    ::close(ready[1]);
    char byte = 0;
    const bool twoRoundsDone = ::read(ready[0], &byte, 1) == 1;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ASSERT_TRUE(twoRoundsDone) << "the child ended before two rounds were done";
}

} // namespace sorakado::testing
