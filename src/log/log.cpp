#include "log/log.h"

#include "util/file_io.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <utility>

namespace {

constexpr int kDetail = 0;
constexpr int kError = 2;

// The word that starts a line, by level (GBK).
constexpr std::array<const char*, 3> kLevelWords = {"详细", "信息", "错误"};

std::string FormatStamp(const LocalDateTime& t) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%02d-%02d-%02d %02d:%02d:%02d]", t.year % 100, t.month,
                  t.day, t.hour, t.minute, t.second);
    return stamp;
}

} // namespace

TKLog::TKLog(std::string fileName, bool verbose, int maxLines, const IClock& clock)
    : fileName_(std::move(fileName)), maxLines_(maxLines), verbose_(verbose), clock_(clock) {}

void TKLog::AddLine(const std::string& text, int level) {
    // Levels below detail are outside the callers' contract; they are taken as detail.
    level = std::clamp(level, kDetail, kError);
    if (level == kDetail && !verbose_) {
        return;
    }
    if (level == kError) {
        ++errorCount_;
    }
    lines_.push_front(std::string(kLevelWords[static_cast<size_t>(level)]) + '\t' +
                      FormatStamp(clock_.Now()) + '\t' + text);
    if (static_cast<long long>(lines_.size()) > maxLines_) {
        lines_.pop_back();
    }
    Save();
}

bool TKLog::ShowLog(IShell& shell) const {
    return shell.RunProgram(fileName_, "", "", kShowNormal);
}

void TKLog::Save() const {
    std::string content;
    for (const std::string& line : lines_) {
        content += line;
        content += "\r\n";
    }
    try {
        WriteWholeFile(fileName_, content);
    } catch (const std::exception&) {
        // The lines stay in memory and reach the file with the next successful save.
    }
}

void AddLine(TKLog* log, const std::string& text, int level) {
    if (log != nullptr) {
        log->AddLine(text, level);
    }
}
