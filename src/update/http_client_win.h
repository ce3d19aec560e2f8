// The Windows HTTP client: each transfer runs on a worker thread of its own, and its one
// completion comes back through the message queue of the thread that created the client.
#pragma once

#include "update/http_client.h"

#include <functional>
#include <memory>

class WindowsHttpClientOwner final : public IHttpClientOwner {
public:
    // Runs a completion handler; the window passes its general error report, so that an
    // exception ends the handler and not the program. Without one, exceptions are dropped.
    using Guard = std::function<void(const std::function<void()>& handler)>;

    explicit WindowsHttpClientOwner(Guard guard = {});

    // The client must be created, used and destroyed on one thread that pumps messages.
    std::unique_ptr<IHttpClient> CreateClient() override;

private:
    Guard guard_;
};
