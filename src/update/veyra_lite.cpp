#include "update/veyra_lite.h"

#include "slotvane_config.h"
#include "update/server_address.h"
#include "util/url_encode.h"

#include <exception>
#include <utility>

namespace {

// The length of the character that starts at `i` in 8-bit GB18030 text: one byte, a double-byte
// pair or a four-byte form.
std::size_t CharacterLength(const std::string& text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x81 || lead > 0xFE || i + 1 >= text.size()) {
        return 1;
    }
    const auto second = static_cast<unsigned char>(text[i + 1]);
    return second >= 0x30 && second <= 0x39 && i + 3 < text.size() ? 4 : 2;
}

} // namespace

std::string UpdateCheckUrl(const std::string& host, const DisplayedNames& names,
                           const TVeyraVersion& version) {
    return ServerRoot(host) + config::kUpdateCheckPath +
           "&ProductName=" + UrlEncode(names.Product) + "&Company=" + UrlEncode(names.Company) +
           "&VH=" + version.HighPartText() + "&VL=" + version.LowPartText();
}

std::string LogSafeAnswer(const std::string& answer) {
    std::string safe;
    for (std::size_t i = 0; i < answer.size();) {
        const std::size_t length = CharacterLength(answer, i);
        if (safe.size() + length > kLoggedAnswerMaxBytes) {
            break;
        }
        for (std::size_t k = i; k < i + length; ++k) {
            const auto byte = static_cast<unsigned char>(answer[k]);
            safe += byte < 0x20 || byte == 0x7F ? ' ' : answer[k];
        }
        i += length;
    }
    return safe;
}

TVeyraLite::TVeyraLite(TKLog* log, std::string title, IFileIdentification& identification,
                       const ITickCounter& ticks, std::string serverHost)
    : log_(log), title_(std::move(title)), identification_(identification), ticks_(ticks),
      serverHost_(serverHost.empty() ? std::string(config::kServerHost) : std::move(serverHost)) {}

TVeyraLite::~TVeyraLite() {
    callback_ = nullptr;
    client_.reset();
}

void TVeyraLite::CheckForUpdate(const std::string& path, IHttpClientOwner& owner,
                                Callback callback) {
    client_.reset();
    busy_ = true;
    newerAvailable_ = false;
    answerValid_ = false;
    AddLine(log_, title_ + " 更新自检: 初始化", 1);
    callback_ = std::move(callback);
    const DisplayedNames names = identification_.DisplayedFileInfo(path);
    const TVeyraVersion own(identification_.FileVersion(path));
    ownHighPart_ = own.HighPart();
    ownLowPart_ = own.LowPart();
    const std::string url = UpdateCheckUrl(serverHost_, names, own);
    answer_.clear();
    try {
        client_ = NewGetClient(owner, url, kUpdateAnswerMaxBytes, answer_,
                               [this](IHttpClient& client, HttpRequestKind kind, int error) {
                                   Completed(client, kind, error);
                               });
        // An error page larger than a version answer is still the server's answer: its first
        // bytes parse as no version, as a small one does.
        client_->Settings().bodyOverflow = HttpBodyOverflow::KeepHead;
        startTick_ = ticks_.Milliseconds();
        client_->StartGet();
    } catch (const std::exception&) {
        // A check that cannot start is dropped: Busy stays true and nothing is called.
    }
}

void TVeyraLite::Completed(const IHttpClient& client, HttpRequestKind kind, int error) {
    if (error == 0 && kind == HttpRequestKind::Get) {
        const TVeyraVersion answer(answer_);
        const std::uint32_t elapsed = ticks_.Milliseconds() - startTick_;
        AddLine(log_,
                title_ + " 更新自检: 服务器回复 " + answer.AsText() + " in " +
                    std::to_string(static_cast<int>(elapsed)) + "ms",
                1);
        if (!answer.IsValid()) {
            AddLine(log_, title_ + " 更新自检: 服务器错误 (" + LogSafeAnswer(answer_) + ")", 0);
        }
        answerValid_ = answer.IsValid();
        newerAvailable_ = answer.IsNewerThanParts(ownHighPart_, ownLowPart_);
    } else {
        AddLine(log_, title_ + " 更新自检: 服务器错误 " + FailureLogText(client, error), 2);
    }
    busy_ = false;
    if (callback_) {
        // The callback may start another check or destroy this checker: it runs from a copy.
        const Callback callback = callback_;
        callback(*this);
    }
}
