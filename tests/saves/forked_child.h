#pragma once

#include <functional>

#include <sys/types.h>

// Copies of the test process made with fork, for work that must run in a process of its own: a
// process to kill at a random moment, or one that changes its user or its view of the mounted
// file systems. Only the calling thread exists in the copy, so it runs single-threaded.
namespace forked_child {

// Exit status of a child whose checks could not be set up (no right to mount a file system,
// for example); its test is skipped.
constexpr int kCannotRun = 77;

// Starts a copy that runs the body and then ends: with status 1 when a check of the test
// failed in it (the failure is printed by the copy), 0 otherwise. The copy is killed when the
// test process dies.
pid_t start(const std::function<void()>& body);

// Waits for the child; its exit status, or 128 + the signal that ended it.
int finish(pid_t child);

// start, then finish.
int run(const std::function<void()>& body);

} // namespace forked_child
