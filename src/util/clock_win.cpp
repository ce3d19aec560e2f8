#include "util/clock.h"

#include <windows.h>

namespace {

class WindowsClock final : public IClock {
public:
    LocalDateTime Now() const override {
        SYSTEMTIME st{};
        GetLocalTime(&st);
        return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }
};

} // namespace

const IClock& SystemClock() {
    static const WindowsClock clock;
    return clock;
}
