#pragma once

#include <stdexcept>
#include <string>

// The engine error exception; the process entry catches it and shows its message.
class CVellumError : public std::runtime_error {
public:
    explicit CVellumError(const std::string& message) : std::runtime_error(message) {}
};
