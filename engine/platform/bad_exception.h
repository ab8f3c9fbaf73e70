#pragma once

#include <stdexcept>
#include <string>

// Raised on internal misuse of the engine's containers and locks (a null key, unlocking a lock
// that is not held). It signals a programming error, not bad data.
class CBadException : public std::logic_error {
public:
    explicit CBadException(const std::string& what) : std::logic_error(what) {}
};
