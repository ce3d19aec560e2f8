// The error a failed system call raises: the system's message for its error code.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class OSError : public std::runtime_error {
public:
    OSError(std::uint32_t code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    std::uint32_t Code() const { return code_; }

private:
    std::uint32_t code_;
};

// Builds the error for a system error code, with the system's own message text (GBK).
OSError MakeOSError(std::uint32_t code);
