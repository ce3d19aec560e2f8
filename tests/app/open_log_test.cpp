#include "app/open_log.h"

#include "support/recording_shell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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
