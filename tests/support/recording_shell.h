// A shell that records what it is asked to open, as "file|parameters|verb|show mode".
#pragma once

#include "util/shell.h"

#include <string>
#include <vector>

class RecordingShell final : public IShell {
public:
    bool RunProgram(const std::string& file, const std::string& parameters, const std::string& verb,
                    int showMode) override {
        requests.push_back(file + "|" + parameters + "|" + verb + "|" + std::to_string(showMode));
        return accept;
    }

    std::vector<std::string> requests;
    bool accept = true;
};
