#include "update/dial_in_turn.h"

#include "update/http_client.h"

#include <algorithm>

int DialInTurn(IAddressDialer& dialer, std::size_t count, std::optional<std::uint64_t> deadlineMs) {
    int error = http_error::kCannotConnect;
    for (std::size_t index = 0; index < count; ++index) {
        const std::uint64_t now = dialer.NowMs();
        if (deadlineMs && now >= *deadlineMs) {
            return http_error::kTimeout;
        }
        const std::size_t left = count - index;
        std::optional<std::uint64_t> until = deadlineMs;
        if (left > 1) {
            until = now + (deadlineMs ? std::min(kMaxAddressShareMs, (*deadlineMs - now) / left)
                                      : kMaxAddressShareMs);
        }
        error = dialer.Dial(index, until);
        if (error == 0) {
            return 0;
        }
    }
    return error;
}
