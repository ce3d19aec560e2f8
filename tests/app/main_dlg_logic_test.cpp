#include "app/main_dlg_logic.h"

#include "util/byte_size.h"

#include "slotvane_config.h"

#include "fake_app_platform.h"
#include "support/recording_shell.h"
#include "support/temp_folder.h"
#include "update/fake_http_client.h"
#include "update/log_entries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::string kProgram = "C:\\Program Files\\Tarvik\\Slotvane\\slotvane.exe";
const std::string kHost = "127.0.0.1:8080";
const std::string kCurrent = "Slotvane 已经是最新的.";
const std::string kFailed = "检查更新失败, 请稍后再试.";

class FakeIdentification final : public IFileIdentification {
public:
    FakeIdentification(Journal& journal, const std::string& failAt)
        : journal_(journal), failAt_(failAt) {}

    DisplayedNames DisplayedFileInfo(const std::string& path) override {
        NoteOperation(journal_, failAt_, "DisplayedFileInfo " + path);
        return {"Slotvane", "Tarvik"};
    }
    std::string FileVersion(const std::string& path) override {
        NoteOperation(journal_, failAt_, "FileVersion " + path);
        return "2.4.1.3";
    }

private:
    Journal& journal_;
    const std::string& failAt_;
};

class JournalHttpOwner final : public IHttpClientOwner {
public:
    explicit JournalHttpOwner(Journal& journal) : journal_(journal) {}

    std::unique_ptr<IHttpClient> CreateClient() override {
        journal_.push_back("CreateClient");
        return fake.CreateClient();
    }

    // Completes transfer `index` (0: the link list, 1: the first update check) as the client
    // would: the body, then the one completion.
    void Complete(std::size_t index, int error, const std::string& body = {}) {
        FakeTransfer& transfer = *fake.transfers.at(index);
        ASSERT_FALSE(transfer.destroyed);
        if (error == 0) {
            *transfer.destination = body;
        }
        const HttpCompletion completion = transfer.completion;
        completion(*fake.clients.at(index), HttpRequestKind::Get, error);
    }

    FakeHttpOwner fake;

private:
    Journal& journal_;
};

// What the module scan saw of the window and the log when it ran.
struct ScanView {
    std::string caption;
    bool bannerOwnColour = false;
    std::string emptySlotCaption4;
    SizeUnitNameList units;
    bool checkForUpdateEnabled = true;
    std::size_t logLines = 0;
};

class MainDlgLogicTest : public ::testing::Test {
protected:
    MainDlgLogicTest() {
        platform.programPath = kProgram;
        platform.dataFolder = folder.File("");
        SetSizeUnitNames({"b.", "Kb.", "Mb.", "Gb.", "Tb."});
    }
    ~MainDlgLogicTest() override { SetSizeUnitNames(savedUnits); }

    MainDlgLogicServices Services() {
        return {
            platform,
            ui,
            shell,
            http,
            identification,
            [this](MainDlgState& scanned, TKLog* log) {
                NoteOperation(journal, platform.failAt, "ScanModules");
                scanView = ScanView{
                    scanned.caption, scanned.bannerOwnColour,       scanned.emptySlotCaptions[3],
                    SizeUnitNames(), scanned.checkForUpdateEnabled, log->Lines().size()};
                scanned.slots[0].rows = {{"插槽名称", "DIMM0"}};
                AddLine(log, "scanned", 1);
            },
            [this] { ++stateChanges; },
            kHost};
    }

    const SizeUnitNameList savedUnits = SizeUnitNames();
    TempFolder folder;
    Journal journal;
    FakeAppPlatform platform{journal};
    FakeMainDlgUi ui{journal};
    RecordingShell shell;
    JournalHttpOwner http{journal};
    FakeIdentification identification{journal, platform.failAt};
    std::optional<ScanView> scanView;
    int stateChanges = 0;
    MainDlgState state;
    TMainDlgLogic logic{state, Services()};
};

TEST_F(MainDlgLogicTest, StartupRunsItsStepsInOrderAndLeavesTheWindowFilled) {
    ASSERT_TRUE(logic.ActivationHooked());
    logic.AppEvtActivate();

    const Journal expected = {
        "StoreMakerRegistryValue Slotvane",
        "FileVersionText " + kProgram,
        "UserDataFolder",
        "WindowsVersionText",
        "Is64BitWindows",
        "RunsAsAdministrator",
        "IsProgramInstalled Tarvik Slotvane",
        "FirstArgument",
        "UserDataFolder",
        "CreateClient",
        "DisplayedFileInfo " + kProgram,
        "FileVersion " + kProgram,
        "CreateClient",
        "ScanModules",
    };
    EXPECT_EQ(journal, expected);
    EXPECT_FALSE(logic.ActivationHooked());
    EXPECT_EQ(platform.registry["Slotvane"], kProgram);

    // Everything before the scan was in place when it ran.
    ASSERT_TRUE(scanView);
    EXPECT_EQ(scanView->caption, "Slotvane v2.4.1.3");
    EXPECT_TRUE(scanView->bannerOwnColour);
    EXPECT_EQ(scanView->emptySlotCaption4, "空插槽!\r\n\r\n点击这里获取更多内存");
    EXPECT_EQ(scanView->units, (SizeUnitNameList{"B", "KB", "MB", "GB", "TB"}));
    EXPECT_FALSE(scanView->checkForUpdateEnabled);
    EXPECT_EQ(scanView->logLines, 9u);

    for (const std::string& caption : state.emptySlotCaptions) {
        EXPECT_EQ(caption, "空插槽!\r\n\r\n点击这里获取更多内存");
    }
    EXPECT_EQ(state.slots[0].rows.size(), 1u);
    EXPECT_TRUE(logic.AutoUpdateCheck());
    ASSERT_NE(logic.Updater(), nullptr);
    EXPECT_TRUE(logic.Updater()->Busy());

    ASSERT_NE(logic.Log(), nullptr);
    EXPECT_EQ(logic.Log()->FileName(), folder.File("Slotvane.log"));
    EXPECT_FALSE(logic.Log()->Verbose());
    EXPECT_EQ(logic.Log()->MaxLines(), 10000);
    EXPECT_EQ(ReadFileBytes(folder.File("Slotvane.log")).empty(), false);
}

TEST_F(MainDlgLogicTest, StartupWritesTheFactsOfTheMachineToTheLog) {
    struct Case {
        std::optional<std::string> argument;
        bool is64Bit;
        bool administrator;
        bool installed;
        std::vector<LogEntry> facts; // after the caption line
    };
    const Case cases[] = {
        {std::nullopt,
         true,
         false,
         false,
         {{1, "Windows : 10.0 (Windows10)"},
          {1, "64 位: Yes"},
          {1, "管理员: No"},
          {1, "便携式: Yes"}}},
        {std::nullopt,
         false,
         true,
         true,
         {{1, "Windows : 10.0 (Windows10)"},
          {1, "64 位: No"},
          {1, "管理员: Yes"},
          {1, "便携式: No"}}},
        {"/report D:\\out put.txt",
         true,
         false,
         true,
         {{1, "Windows : 10.0 (Windows10)"},
          {1, "64 位: Yes"},
          {1, "管理员: No"},
          {1, "便携式: No"},
          {1, "/report D:\\out put.txt"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument.value_or("no argument"));
        platform.firstArgument = c.argument;
        platform.is64Bit = c.is64Bit;
        platform.administrator = c.administrator;
        platform.installed = c.installed;
        MainDlgState caseState;
        TMainDlgLogic caseLogic{caseState, Services()};
        caseLogic.AppEvtActivate();

        std::vector<LogEntry> expected = {{1, "正在开始"}, {1, kProgram}, {1, "Slotvane v2.4.1.3"}};
        expected.insert(expected.end(), c.facts.begin(), c.facts.end());
        expected.insert(expected.end(),
                        {{1, "更新自检..."}, {1, "Slotvane 更新自检: 初始化"}, {1, "scanned"}});
        EXPECT_EQ(LogEntries(*caseLogic.Log()), expected);
    }
}

TEST_F(MainDlgLogicTest, StartupRunsOnceOnly) {
    logic.AppEvtActivate();
    const Journal first = journal;
    logic.AppEvtActivate();
    logic.AppEvtActivate();
    EXPECT_EQ(journal, first);
    EXPECT_EQ(http.fake.transfers.size(), 2u);
}

TEST_F(MainDlgLogicTest, TheDownloadedLinkListLandsInTheDataFolder) {
    logic.AppEvtActivate();
    const FakeTransfer& download = *http.fake.transfers.at(0);
    EXPECT_EQ(download.settings.url, "http://127.0.0.1:8080/slotvane/slotvane.ini");
    EXPECT_TRUE(download.started);

    http.Complete(0, 0, "[links]\r\nram=http://shop.example.com/\r\n");
    EXPECT_EQ(ReadFileBytes(folder.File("slotvane.ini")),
              "[links]\r\nram=http://shop.example.com/\r\n");
    EXPECT_EQ(stateChanges, 0);
}

TEST_F(MainDlgLogicTest, AFailingStepEndsStartupThereAndKeepsWhatCameBefore) {
    struct Case {
        std::string failAt;
        std::string caption;
        std::optional<std::size_t> logLines; // nothing: no log yet
        bool downloading;
        bool checkForUpdateEnabled;
    };
    const Case cases[] = {
        {"StoreMakerRegistryValue", "MainDlg", std::nullopt, false, true},
        {"FileVersionText", "MainDlg", std::nullopt, false, true},
        {"Is64BitWindows", "Slotvane v2.4.1.3", 4, false, true},
        {"IsProgramInstalled", "Slotvane v2.4.1.3", 6, false, true},
        {"FileVersion ", "Slotvane v2.4.1.3", 9, true, false},
        {"ScanModules", "Slotvane v2.4.1.3", 9, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failAt);
        journal.clear();
        scanView.reset();
        platform.failAt = c.failAt;
        MainDlgState caseState;
        TMainDlgLogic caseLogic{caseState, Services()};

        EXPECT_THROW(caseLogic.AppEvtActivate(), std::runtime_error);
        ASSERT_FALSE(journal.empty());
        EXPECT_EQ(journal.back().rfind(c.failAt, 0), 0u) << journal.back();
        EXPECT_EQ(caseState.caption, c.caption);
        if (c.logLines) {
            ASSERT_NE(caseLogic.Log(), nullptr);
            EXPECT_EQ(caseLogic.Log()->Lines().size(), *c.logLines);
        } else {
            EXPECT_EQ(caseLogic.Log(), nullptr);
        }
        EXPECT_EQ(caseLogic.Grabber() != nullptr, c.downloading);
        EXPECT_EQ(caseState.checkForUpdateEnabled, c.checkForUpdateEnabled);
        EXPECT_FALSE(scanView);

        // The sequence is unhooked: the next activation does nothing.
        const Journal afterError = journal;
        platform.failAt.clear();
        caseLogic.AppEvtActivate();
        EXPECT_EQ(journal, afterError);
        EXPECT_FALSE(caseLogic.ActivationHooked());
    }
}

TEST_F(MainDlgLogicTest, TheWindowAnswersTheUpdateCheck) {
    struct Case {
        const char* name;
        bool userAsked; // the menu item, not start-up
        int error;
        std::string answer;
        int userAnswer;
        std::vector<std::string> dialogs; // in the journal
        std::vector<std::string> opened;
        std::vector<LogEntry> lines; // the window's own
    };
    const std::string question = "AskQuestion 一个新版本的 Slotvane 可用. 你想现在下载更新吗?";
    const std::string newer = "检测到新版本的 Slotvane";
    const Case cases[] = {
        {"start-up, current", false, 0, "2.4.1.3", kResultNo, {}, {}, {{1, kCurrent}}},
        {"start-up, older answer", false, 0, "2.4.1.2", kResultNo, {}, {}, {{1, kCurrent}}},
        {"start-up, no version in the answer", false, 0, "<html>", kResultNo, {}, {}, {}},
        {"start-up, offline", false, 12007, "", kResultNo, {}, {}, {}},
        {"start-up, newer, no", false, 0, "2.5", kResultNo, {question}, {}, {{1, newer}}},
        {"menu, offline", true, 12029, "", kResultNo, {"ShowMessage " + kFailed}, {}, {}},
        {"menu, moved to https", true, 12175, "", kResultNo, {"ShowMessage " + kFailed}, {}, {}},
        {"menu, no version in the answer",
         true,
         0,
         "<html>",
         kResultNo,
         {"ShowMessage " + kFailed},
         {},
         {}},
        {"menu, current",
         true,
         0,
         "2.4.1.3",
         kResultNo,
         {"ShowMessage " + kCurrent},
         {},
         {{1, kCurrent}}},
        {"menu, newer, no", true, 0, "2.4.1.4", kResultNo, {question}, {}, {{1, newer}}},
        {"menu, newer, yes",
         true,
         0,
         "3.0.0.0",
         kResultYes,
         {question},
         {std::string(config::kHomeUrl) + "|||1"},
         {{1, newer}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainDlgState caseState;
        http.fake.transfers.clear();
        http.fake.clients.clear();
        TMainDlgLogic caseLogic{caseState, Services()};
        caseLogic.AppEvtActivate();
        std::size_t transfer = 1;
        if (c.userAsked) {
            http.Complete(transfer, 12002); // start-up's check fails first, silently
            caseLogic.Checkforupdate1Click();
            transfer = 2;
        }
        ASSERT_FALSE(caseState.checkForUpdateEnabled);
        const auto started = LogEntries(*caseLogic.Log());
        EXPECT_EQ(std::count(started.begin(), started.end(), LogEntry(1, "更新自检...")),
                  c.userAsked ? 2 : 1);
        journal.clear();
        shell.requests.clear();
        ui.answer = c.userAnswer;
        stateChanges = 0;
        const std::size_t before = caseLogic.Log()->Lines().size();

        http.Complete(transfer, c.error, c.answer);

        EXPECT_EQ(journal, c.dialogs);
        EXPECT_EQ(shell.requests, c.opened);
        // The window's own lines, without the checker's reply or error line.
        const auto entries = LogEntries(*caseLogic.Log());
        std::vector<LogEntry> ownLines;
        for (auto entry = entries.begin() + static_cast<long>(before); entry != entries.end();
             ++entry) {
            if (entry->second.rfind("Slotvane 更新自检", 0) != 0) {
                ownLines.push_back(*entry);
            }
        }
        EXPECT_EQ(ownLines, c.lines);
        EXPECT_TRUE(caseState.checkForUpdateEnabled);
        EXPECT_FALSE(caseLogic.AutoUpdateCheck());
        EXPECT_EQ(stateChanges, 1);
    }
}

TEST_F(MainDlgLogicTest, OnlyOneCheckRunsAtATime) {
    logic.AppEvtActivate();
    const std::size_t lines = logic.Log()->Lines().size();
    logic.Checkforupdate1Click();
    EXPECT_EQ(http.fake.transfers.size(), 2u);
    EXPECT_EQ(logic.Log()->Lines().size(), lines);

    http.Complete(1, 0, "2.4.1.3");
    logic.Checkforupdate1Click();
    EXPECT_EQ(http.fake.transfers.size(), 3u);
    EXPECT_FALSE(state.checkForUpdateEnabled);
}

TEST_F(MainDlgLogicTest, ACheckThatCannotStartLeavesTheMenuItemDisabled) {
    http.fake.failToStart = true;
    logic.AppEvtActivate();
    EXPECT_TRUE(scanView); // start-up goes on
    EXPECT_FALSE(state.checkForUpdateEnabled);
    EXPECT_TRUE(logic.Updater()->Busy());

    http.fake.failToStart = false;
    logic.Checkforupdate1Click();
    EXPECT_EQ(http.fake.transfers.size(), 2u);
    EXPECT_FALSE(state.checkForUpdateEnabled);
    EXPECT_EQ(stateChanges, 0);
}

TEST_F(MainDlgLogicTest, AnOwnVersionThatCannotBeReadFromTheMenuRaisesWithTheItemDisabled) {
    logic.AppEvtActivate();
    http.Complete(1, 12002);
    ASSERT_TRUE(state.checkForUpdateEnabled);
    platform.failAt = "FileVersion ";
    EXPECT_THROW(logic.Checkforupdate1Click(), std::runtime_error);
    EXPECT_FALSE(state.checkForUpdateEnabled);
}

TEST_F(MainDlgLogicTest, BeforeStartupTheHandlersFindNothingToDo) {
    logic.Checkforupdate1Click();
    logic.Openlogfile1Click();
    logic.FormClose();
    EXPECT_TRUE(state.checkForUpdateEnabled);
    EXPECT_TRUE(http.fake.transfers.empty());
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_EQ(state, MainDlgState());
}

TEST_F(MainDlgLogicTest, ClosingCleansTheVirtualStoreAndWritesNothing) {
    const std::string stores[] = {
        "", "C:\\Users\\u\\AppData\\Local\\VirtualStore\\Program Files\\Tarvik\\Slotvane\\"};
    logic.AppEvtActivate();
    const std::string logFile = ReadFileBytes(logic.Log()->FileName());
    for (const std::string& store : stores) {
        SCOPED_TRACE(store);
        journal.clear();
        platform.virtualStore = store;
        logic.FormClose();
        EXPECT_EQ(journal, Journal{"CleanVirtualStore C:\\Program Files\\Tarvik\\Slotvane\\"});
        EXPECT_EQ(ReadFileBytes(logic.Log()->FileName()), logFile);
    }
}

TEST_F(MainDlgLogicTest, DestroyingFreesEverythingAndAbandonsTransfers) {
    logic.AppEvtActivate();
    logic.FormDestroy();
    EXPECT_EQ(logic.Log(), nullptr);
    EXPECT_EQ(logic.Grabber(), nullptr);
    EXPECT_EQ(logic.Updater(), nullptr);
    for (const auto& transfer : http.fake.transfers) {
        EXPECT_TRUE(transfer->destroyed);
        EXPECT_FALSE(transfer->completion);
    }
    EXPECT_EQ(stateChanges, 0);
}

TEST_F(MainDlgLogicTest, TheHandlersUseTheLogicsServerAndSeams) {
    logic.AppEvtActivate();
    journal.clear();
    logic.getRAM_btnClick();
    logic.drivers_btnClick();
    state.slots[1].rows = {{"插槽名称", "DIMM1"},
                           {"容量", "8 GB"},
                           {"制造商", "Samsung"},
                           {"型号", "M378B1G73EB0-YK0"}};
    logic.getSpec_btnClick(1);
    logic.Openlogfile1Click();

    EXPECT_NE(std::find(journal.begin(), journal.end(), "ShellOpen http://127.0.0.1:8080/slotvane"),
              journal.end());
    const std::vector<std::string> opened = {
        "http://127.0.0.1:8080/veyra/drivers.php|||1",
        std::string("https://") + config::kSearchHost + "/search?cx=" + config::kSearchEngineId +
            "&q=Samsung%20M378B1G73EB0-YK0|||1",
        folder.File("Slotvane.log") + "|||1",
    };
    EXPECT_EQ(shell.requests, opened);
}

} // namespace
