#include "util/tick_count.h"

#include <time.h>

namespace {

class PosixTickCounter final : public ITickCounter {
public:
    std::uint32_t Milliseconds() const override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                        static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
        return static_cast<std::uint32_t>(ms);
    }
};

} // namespace

const ITickCounter& SystemTickCounter() {
    static const PosixTickCounter counter;
    return counter;
}
