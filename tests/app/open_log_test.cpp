#include "app/open_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingShell final : public IShell {
public:
    bool RunProgram(const std::string& file, const std::string& parameters, const std::string& verb,
                    int showMode) override {
        requests.push_back(file + "|" + parameters + "|" + verb + "|" + std::to_string(showMode));
        return false;
    }

    std::vector<std::string> requests;
};

TEST(Openlogfile1Click, OpensTheLogFileWithTheDefaultActionInANormalWindow) {
    const TKLog log("C:\\Users\\u\\AppData\\Roaming\\Tarvik\\Slotvane\\Slotvane.log", false, 10000);
    RecordingShell shell;

    Openlogfile1Click(&log, shell);

    EXPECT_EQ(shell.requests, std::vector<std::string>{
                                  "C:\\Users\\u\\AppData\\Roaming\\Tarvik\\Slotvane\\Slotvane.log||"
                                  "|1"});
}

TEST(Openlogfile1Click, DoesNothingBeforeTheLogExists) {
    RecordingShell shell;

    Openlogfile1Click(nullptr, shell);

    EXPECT_TRUE(shell.requests.empty());
}

} // namespace
