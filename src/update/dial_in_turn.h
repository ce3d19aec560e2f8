// How a connection tries the addresses of a host in turn: every address but the last gets a
// share of the time left, at most kMaxAddressShareMs, so that an address that never answers (a
// black-holed IPv6 address) leaves time for the next; the last one gets all that is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The longest a connect to one address may take while another address is still to be tried.
inline constexpr std::uint64_t kMaxAddressShareMs = 3000;

// What the connection asks of the machine: a steady clock and one connect attempt.
class IAddressDialer {
public:
    virtual ~IAddressDialer() = default;
    virtual std::uint64_t NowMs() const = 0;
    // Connects to the address `index`, waiting until `untilMs` of NowMs's clock at the latest
    // (without one, for as long as it takes). 0 once connected; kTimeout when the time ran out
    // or the transfer was abandoned; another completion error code when the address failed.
    virtual int Dial(std::size_t index, std::optional<std::uint64_t> untilMs) = 0;
};

// Dials `count` addresses in order until one connects, within the deadline (a time of the
// dialer's clock; none means no limit). 0 when one connected; otherwise kTimeout once the
// deadline has passed, the error of the last attempt, or kCannotConnect without addresses.
int DialInTurn(IAddressDialer& dialer, std::size_t count, std::optional<std::uint64_t> deadlineMs);
