#include "update/dial_in_turn.h"
#include "update/http_client.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// Addresses on a clock of their own: each connects, is refused after some milliseconds, or
// never answers (a black hole), and every attempt is noted with its start and its limit.
class ScriptedDialer final : public IAddressDialer {
public:
    enum class Kind { Connects, Refuses, BlackHole };
    struct Address {
        Kind kind;
        std::uint64_t afterMs = 0;
    };
    struct Attempt {
        std::size_t index;
        std::uint64_t startMs;
        std::optional<std::uint64_t> untilMs;
        bool operator==(const Attempt&) const = default;
    };

    explicit ScriptedDialer(std::vector<Address> addresses) : addresses_(std::move(addresses)) {}

    std::uint64_t NowMs() const override { return now_; }

    int Dial(std::size_t index, std::optional<std::uint64_t> untilMs) override {
        attempts.push_back({index, now_, untilMs});
        const Address& address = addresses_.at(index);
        if (address.kind == Kind::BlackHole || (untilMs && now_ + address.afterMs > *untilMs)) {
            if (!untilMs) {
                ADD_FAILURE() << "a black hole without a limit never ends";
                return http_error::kTimeout;
            }
            now_ = *untilMs;
            return http_error::kTimeout;
        }
        now_ += address.afterMs;
        return address.kind == Kind::Connects ? 0 : http_error::kCannotConnect;
    }

    std::vector<Attempt> attempts;

private:
    std::vector<Address> addresses_;
    std::uint64_t now_ = 0;
};

TEST(DialInTurnTest, EachAddressButTheLastGetsAShareOfTheTimeLeft) {
    using Kind = ScriptedDialer::Kind;
    using namespace http_error;
    const ScriptedDialer::Address hole{Kind::BlackHole};
    const ScriptedDialer::Address connects{Kind::Connects, 10};
    const ScriptedDialer::Address refuses{Kind::Refuses, 5};
    struct Case {
        const char* name;
        std::vector<ScriptedDialer::Address> addresses;
        std::optional<std::uint64_t> deadlineMs;
        int error;
        std::vector<ScriptedDialer::Attempt> attempts;
    };
    const Case cases[] = {
        {"a black-holed address, then one that works",
         {hole, connects},
         10000,
         0,
         {{0, 0, 3000}, {1, 3000, 10000}}},
        {"two black holes before one that works",
         {hole, hole, connects},
         10000,
         0,
         {{0, 0, 3000}, {1, 3000, 6000}, {2, 6000, 10000}}},
        {"a short deadline is shared", {hole, connects}, 4000, 0, {{0, 0, 2000}, {1, 2000, 4000}}},
        {"a refusal goes on at once", {refuses, connects}, 10000, 0, {{0, 0, 3000}, {1, 5, 10000}}},
        {"the only address keeps the whole time", {connects}, 10000, 0, {{0, 0, 10000}}},
        {"a slow only address still connects", {{Kind::Connects, 8000}}, 10000, 0, {{0, 0, 10000}}},
        {"without a deadline", {hole, connects}, std::nullopt, 0, {{0, 0, 3000}, {1, 3000, {}}}},
        {"every address a black hole",
         {hole, hole},
         10000,
         kTimeout,
         {{0, 0, 3000}, {1, 3000, 10000}}},
        {"the last address refuses",
         {hole, refuses},
         10000,
         kCannotConnect,
         {{0, 0, 3000}, {1, 3000, 10000}}},
        {"no address", {}, 10000, kCannotConnect, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialer dialer(c.addresses);
        EXPECT_EQ(DialInTurn(dialer, c.addresses.size(), c.deadlineMs), c.error);
        EXPECT_EQ(dialer.attempts, c.attempts);
    }
}

} // namespace
