// The wall clock, behind a seam so that time stamps can be tested.
#pragma once

struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual LocalDateTime Now() const = 0;
};

// The operating system's local time.
const IClock& SystemClock();
