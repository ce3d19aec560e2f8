// Downloads one address in the background and, when the transfer succeeds, puts the body into a
// file; the outcome goes to the run's log.
#pragma once

#include "log/log.h"
#include "update/http_client.h"
#include "util/tick_count.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The link list is a small ini file; anything larger is not one.
inline constexpr std::size_t kLinkListMaxBytes = 64 * 1024;

class TFileGrabber {
public:
    using Callback = std::function<void(TFileGrabber& grabber)>;

    explicit TFileGrabber(TKLog* log, const ITickCounter& ticks = SystemTickCounter());
    TFileGrabber(const TFileGrabber&) = delete;
    TFileGrabber& operator=(const TFileGrabber&) = delete;
    // Abandons a transfer in flight; its callback is never called.
    ~TFileGrabber();

    // Starts one GET and returns at once; a transfer still in flight is abandoned. An empty target
    // writes no file. A transfer that cannot start is dropped without a word.
    void Download(const std::string& url, const std::string& targetFile, IHttpClientOwner& owner,
                  Callback callback, std::size_t maxBodyBytes = kLinkListMaxBytes);

    const std::string& Url() const { return url_; }
    const std::string& TargetFile() const { return targetFile_; }
    const std::string& Body() const { return body_; }

private:
    void Completed(const IHttpClient& client, HttpRequestKind kind, int error);

    std::uint32_t startTick_ = 0;
    TKLog* log_;
    std::string url_;
    std::string targetFile_;
    Callback callback_;
    std::string body_;
    std::unique_ptr<IHttpClient> client_;
    const ITickCounter& ticks_;
};
