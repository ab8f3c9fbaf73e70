#pragma once

#include <cstdint>
#include <string>

// Remembers the process's arguments; called once by the process entry.
void setCommandLine(int argc, char** argv);
// The arguments joined by blanks, an argument holding a blank in double quotes.
const std::string& commandLineText();
// The executable's full path in engine form.
std::string executablePath();

// Registers a function that runs when the process ends, normally or through terminateProcess.
void registerExitHandler(void (*handler)());
// Ends the process at once with the exit code after running the registered exit handlers;
// no other clean-up runs.
[[noreturn]] void terminateProcess(int exitCode);

// A non-zero number identifying the calling thread.
uint32_t currentThreadId();
