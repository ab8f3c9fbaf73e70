#include "saves/forked_child.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace forked_child {

pid_t start(const std::function<void()>& body) {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        body();
        std::fflush(nullptr);
        // Leaves without the test process's exit handlers, which belong to the parent.
        _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    if (child < 0) {
        ADD_FAILURE() << "fork: " << std::strerror(errno);
    }
    return child;
}

int finish(pid_t child) {
    int status = 0;
    if (child <= 0) {
        return -1;
    }
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int run(const std::function<void()>& body) {
    return finish(start(body));
}

} // namespace forked_child
