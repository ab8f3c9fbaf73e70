#include "process.h"

#include "native_path.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

std::string& commandLineStorage() {
    static std::string text;
    return text;
}

} // namespace

void setCommandLine(int argc, char** argv) {
    std::string text;
    for (int i = 0; i < argc; ++i) {
        std::string argument = argv[i];
        if (i > 0) {
            text += ' ';
        }
        if (argument.find(' ') != std::string::npos) {
            text += '"' + argument + '"';
        } else {
            text += argument;
        }
    }
    commandLineStorage() = text;
}

const std::string& commandLineText() {
    return commandLineStorage();
}

std::string executablePath() {
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return std::string();
    }
    return toEnginePath(std::string(buffer, static_cast<size_t>(length)));
}

void registerExitHandler(void (*handler)()) {
    std::atexit(handler);
    std::at_quick_exit(handler);
}

void terminateProcess(int exitCode) {
    std::fflush(nullptr);
    std::quick_exit(exitCode);
}

namespace {

// Asked of the system once per thread, since locks ask on every entry; a forked child asks again.
thread_local uint32_t cachedThreadId = 0;

void forgetThreadIdInChild() {
    cachedThreadId = 0;
}

} // namespace

uint32_t currentThreadId() {
    if (cachedThreadId == 0) {
        static const int registered = pthread_atfork(nullptr, nullptr, forgetThreadIdInChild);
        (void)registered;
        cachedThreadId = static_cast<uint32_t>(::syscall(SYS_gettid));
    }
    return cachedThreadId;
}
