// The system's millisecond tick counter, behind a seam so that elapsed times can be tested.
#pragma once

#include <cstdint>

class ITickCounter {
public:
    virtual ~ITickCounter() = default;
    // Milliseconds since some fixed moment, wrapping at 2^32: differences stay right across a wrap.
    virtual std::uint32_t Milliseconds() const = 0;
};

const ITickCounter& SystemTickCounter();
