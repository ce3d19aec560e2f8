#include "util/tick_count.h"

#include <windows.h>

namespace {

class WindowsTickCounter final : public ITickCounter {
public:
    std::uint32_t Milliseconds() const override { return GetTickCount(); }
};

} // namespace

const ITickCounter& SystemTickCounter() {
    static const WindowsTickCounter counter;
    return counter;
}
