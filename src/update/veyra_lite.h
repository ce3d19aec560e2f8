// The self-update check: asks the maker's server for the latest version of the program,
// compares it with the program's own version and tells the owner through a callback.
#pragma once

#include "log/log.h"
#include "update/file_identification.h"
#include "update/http_client.h"
#include "util/tick_count.h"
#include "util/version.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A version answer is a few bytes; of a larger answer only this much is kept and parsed.
inline constexpr std::size_t kUpdateAnswerMaxBytes = 4 * 1024;
// The longest piece of a server's answer that goes into the log.
inline constexpr std::size_t kLoggedAnswerMaxBytes = 200;

// The check's address: the server in the build's scheme (ServerRoot) and host, the check path
// with uid=0, then ProductName, Company, VH and VL.
std::string UpdateCheckUrl(const std::string& host, const DisplayedNames& names,
                           const TVeyraVersion& version);

// Server text made fit for one log line: control characters (line breaks included) become
// blanks, and the text is cut to kLoggedAnswerMaxBytes without splitting a character.
std::string LogSafeAnswer(const std::string& answer);

class TVeyraLite {
public:
    using Callback = std::function<void(TVeyraLite& checker)>;

    // The server host (and port) defaults to the maker's; tests use a loopback server.
    TVeyraLite(TKLog* log, std::string title, IFileIdentification& identification,
               const ITickCounter& ticks = SystemTickCounter(), std::string serverHost = {});
    TVeyraLite(const TVeyraLite&) = delete;
    TVeyraLite& operator=(const TVeyraLite&) = delete;
    // Abandons a check in flight; its callback is never called.
    ~TVeyraLite();

    // Starts one check and returns at once; a check still in flight is abandoned. Raises when the
    // own file's version cannot be detected (then nothing is sent and Busy stays true). A check
    // that cannot start leaves Busy true and calls nothing.
    void CheckForUpdate(const std::string& path, IHttpClientOwner& owner, Callback callback);

    bool Busy() const { return busy_; }
    bool AnswerValid() const { return answerValid_; }
    bool NewerAvailable() const { return newerAvailable_; }
    std::uint32_t OwnHighPart() const { return ownHighPart_; }
    std::uint32_t OwnLowPart() const { return ownLowPart_; }
    const std::string& Title() const { return title_; }

private:
    void Completed(const IHttpClient& client, HttpRequestKind kind, int error);

    std::uint32_t startTick_ = 0;
    TKLog* log_;
    bool busy_ = false;
    Callback callback_;
    std::uint32_t ownHighPart_ = 0;
    std::uint32_t ownLowPart_ = 0;
    std::string title_;
    std::string answer_;
    std::unique_ptr<IHttpClient> client_;
    bool newerAvailable_ = false;
    bool answerValid_ = false;
    IFileIdentification& identification_;
    const ITickCounter& ticks_;
    std::string serverHost_;
};
