#include "util/shell_win.h"

#include "fixture_path_win.h"
#include "support/temp_folder.h"
#include "util/codepage_win.h"
#include "util/shell.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace {

// The fixture program creates the file named by its argument and ends at once.
bool AppearsWithin(const std::string& path, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        if (std::filesystem::exists(WideFromGbk(path))) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

class ShellTest : public ::testing::Test {
protected:
    TempFolder folder;
    const std::string program = FixturePath("slotvane_fixture_plain.exe");
};

TEST_F(ShellTest, RunProgramStartsAProgramWithItsParameters) {
    const std::string marker = folder.File("ran.txt");

    EXPECT_TRUE(SystemShell().RunProgram(program, "\"" + marker + "\"", "", kShowNormal));
    EXPECT_TRUE(AppearsWithin(marker, 10000));
}

TEST_F(ShellTest, RunProgramExpandsEnvironmentVariablesInTheFileName) {
    const std::string marker = folder.File("expanded.txt");
    const std::wstring programFolder =
        std::filesystem::path(WideFromGbk(program)).parent_path().wstring();
    ASSERT_TRUE(SetEnvironmentVariableW(L"SLOTVANE_FIXTURES", programFolder.c_str()));

    EXPECT_TRUE(RunProgram("%SLOTVANE_FIXTURES%\\slotvane_fixture_plain.exe", "\"" + marker + "\"",
                           "open", kShowNormal));
    EXPECT_TRUE(AppearsWithin(marker, 10000));
    SetEnvironmentVariableW(L"SLOTVANE_FIXTURES", nullptr);
}

TEST_F(ShellTest, ShellOpenStartsAProgramWithTheDefaultAction) {
    const std::string marker = folder.File("opened.txt");

    EXPECT_TRUE(ShellOpen(nullptr, "", program, "\"" + marker + "\"", "", kShowNormal));
    EXPECT_TRUE(AppearsWithin(marker, 10000));
}

TEST_F(ShellTest, BothRefuseAFileThatDoesNotExist) {
    const std::string missing = folder.File("missing.exe");

    EXPECT_FALSE(RunProgram(missing, "", "", kShowNormal));
    EXPECT_FALSE(ShellOpen(nullptr, "", missing, "", "", kShowNormal));
}

} // namespace
