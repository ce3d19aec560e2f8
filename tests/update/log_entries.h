// The lines of a test log as (level, text), oldest first, without the level word and time stamp.
#pragma once

#include "log/log.h"

#include <string>
#include <utility>
#include <vector>

using LogEntry = std::pair<int, std::string>;

inline std::vector<LogEntry> LogEntries(const TKLog& log) {
    const std::string words[] = {"详细", "信息", "错误"};
    std::vector<LogEntry> entries;
    for (auto line = log.Lines().rbegin(); line != log.Lines().rend(); ++line) {
        const std::size_t first = line->find('\t');
        const std::size_t second = line->find('\t', first + 1);
        int level = -1;
        for (int i = 0; i < 3; ++i) {
            if (line->substr(0, first) == words[i]) {
                level = i;
            }
        }
        entries.emplace_back(level, line->substr(second + 1));
    }
    return entries;
}
