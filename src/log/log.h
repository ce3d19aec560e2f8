// The run's log file: timestamped lines, newest first, capped at MaxLines, GBK text with CR LF.
#pragma once

#include "util/clock.h"
#include "util/shell.h"

#include <deque>
#include <string>

class TKLog {
public:
    // Touches no file: the previous run's log stays until the first accepted line replaces it.
    TKLog(std::string fileName, bool verbose, int maxLines, const IClock& clock = SystemClock());

    // Level 0 is detail (written only when verbose), 1 information, 2 error (counted).
    // Every accepted line rewrites the whole file; a failed save is ignored and retried by the
    // next accepted line.
    void AddLine(const std::string& text, int level);

    // Opens the log file with the desktop's viewer for its type; true when the shell accepted.
    bool ShowLog(IShell& shell = SystemShell()) const;

    int ErrorCount() const { return errorCount_; }
    const std::deque<std::string>& Lines() const { return lines_; }
    const std::string& FileName() const { return fileName_; }
    int MaxLines() const { return maxLines_; }
    bool Verbose() const { return verbose_; }

private:
    void Save() const;

    int errorCount_ = 0;
    std::deque<std::string> lines_;
    std::string fileName_;
    int maxLines_;
    bool verbose_;
    const IClock& clock_;
};

// Writes to a log that a component may not have: a null log takes the line and does nothing.
void AddLine(TKLog* log, const std::string& text, int level);
