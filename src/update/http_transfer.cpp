#include "update/http_transfer.h"

#include "update/http_response.h"
#include "update/http_url.h"

#include <optional>
#include <variant>

namespace {

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

HttpTransferResult FollowToTheFinalAnswer(const HttpClientSettings& settings,
                                          IHttpConnector& connector) {
    std::optional<HttpUrl> url = ParseHttpUrl(settings.url);
    if (!url) {
        return {http_error::kInvalidUrl, {}};
    }
    for (int changes = 0;; ++changes) {
        int error = 0;
        const std::unique_ptr<IHttpConnection> connection =
            connector.Connect(ConnectionEndpoint(settings, *url), error);
        if (!connection) {
            return {error, {}};
        }
        if ((error = connection->Send(BuildGetRequest(settings, *url))) != 0) {
            return {error, {}};
        }
        HttpResponseReader reader(settings.maxBodyBytes, settings.bodyOverflow);
        std::string received;
        // A redirection's own body is never read: the next address is all it gives.
        while (!reader.Complete() && !reader.Failed() &&
               !(reader.HeadDone() && IsRedirect(reader.Status()) && reader.Location())) {
            if ((error = connection->Receive(received)) != 0) {
                return {error, {}};
            }
            if (received.empty()) {
                reader.ConnectionClosed();
            } else {
                reader.Feed(received);
            }
        }
        const bool redirect = reader.HeadDone() && IsRedirect(reader.Status()) && reader.Location();
        if (!redirect) {
            return reader.Failed() ? HttpTransferResult{reader.Error(), {}}
                                   : HttpTransferResult{0, reader.TakeBody()};
        }
        if (changes == kMaxRedirects) {
            return {http_error::kRedirectFailed, {}};
        }
        const RedirectOutcome next = ResolveRedirect(*url, *reader.Location());
        if (const int* failure = std::get_if<int>(&next)) {
            return {*failure, {}};
        }
        url = std::get<HttpUrl>(next);
    }
}

} // namespace

HttpTransferResult RunGetTransfer(const HttpClientSettings& settings,
                                  IHttpConnector& connector) noexcept {
    try {
        return FollowToTheFinalAnswer(settings, connector);
    } catch (...) {
        // Whatever failed (an allocation, the connection), the transfer ends as a failure of its
        // own instead of ending the worker's thread and with it the process.
        return {http_error::kInternalError, {}};
    }
}
