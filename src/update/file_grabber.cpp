#include "update/file_grabber.h"

#include "util/file_io.h"

#include <exception>
#include <utility>

TFileGrabber::TFileGrabber(TKLog* log, const ITickCounter& ticks) : log_(log), ticks_(ticks) {}

TFileGrabber::~TFileGrabber() {
    callback_ = nullptr;
    client_.reset();
}

void TFileGrabber::Download(const std::string& url, const std::string& targetFile,
                            IHttpClientOwner& owner, Callback callback, std::size_t maxBodyBytes) {
    url_ = url;
    targetFile_ = targetFile;
    client_.reset();
    callback_ = std::move(callback);
    body_.clear();
    try {
        client_ = NewGetClient(owner, url_, maxBodyBytes, body_,
                               [this](IHttpClient& client, HttpRequestKind kind, int error) {
                                   Completed(client, kind, error);
                               });
        startTick_ = ticks_.Milliseconds();
        client_->StartGet();
    } catch (const std::exception&) {
        // A transfer that cannot start is dropped: no line, no completion.
    }
}

void TFileGrabber::Completed(const IHttpClient& client, HttpRequestKind kind, int error) {
    if (error == 0 && kind == HttpRequestKind::Get) {
        const std::uint32_t elapsed = ticks_.Milliseconds() - startTick_;
        AddLine(log_, "文件下载在 " + std::to_string(static_cast<int>(elapsed)) + "ms", 1);
        if (!targetFile_.empty()) {
            // A failed write raises and so ends the handler here: no callback.
            ReplaceWholeFile(targetFile_, body_);
        }
    } else {
        AddLine(log_, "文件下载: 服务器错误 " + FailureLogText(client, error), 2);
    }
    if (callback_ && kind == HttpRequestKind::Get) {
        // The callback may start another download or destroy this grabber: it runs from a copy,
        // and nothing here touches the grabber afterwards.
        const Callback callback = callback_;
        callback(*this);
    }
}
