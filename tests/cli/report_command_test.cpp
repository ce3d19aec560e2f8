#include "cli/report_command.h"

#include "support/temp_folder.h"
#include "wmi/fake_wmi_service.h"
#include "wmi/memory_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The expected output is written as UTF-8 literals, which the GBK execution character set does
// not touch.
std::string Utf8(std::u8string_view text) {
    return std::string(text.begin(), text.end());
}

const ModuleFixture kSamsung{"DIMM 1", "8589934592", "CE00000000000000", "M378A1K43CB2;CRC",
                             0,        2400,         "12345678",         0x1A};
const ModuleFixture kCorsair{"DIMM 2", "17179869184", "029E", "CMK32GX5M2B5200C40",
                             0,        4800,          "0",    0x22};

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Report(IAutomationFactory& automation, const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliContext context{out, err, [](const std::string& argument) { return argument; },
                       [] { return 0.0; }};
    const int status = RunReportCommand(args, automation, context);
    return {status, out.str(), err.str()};
}

// The report of a saved document, which never asks the service.
Outcome ReportFrom(const std::string& path, const std::vector<std::string>& format = {}) {
    std::vector<std::string> args = {"--from", path};
    args.insert(args.end(), format.begin(), format.end());
    return Report(NoAutomation(), args);
}

void Save(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

FakeAutomation MachineWith(const std::vector<ModuleFixture>& modules) {
    FakeAutomation automation;
    automation.Machine().classes["Win32_PhysicalMemoryArray"] = {ArrayInstance(67108864, 4)};
    auto& instances = automation.Machine().classes["Win32_PhysicalMemory"];
    for (const auto& module : modules) {
        instances.push_back(ModuleInstance(module));
    }
    return automation;
}

TEST(ReportCommandTest, PrintsTheExportsReportInUtf8) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const Case cases[] = {
        {{},
         Utf8(u8"[BANK 1]\r\n插槽名称\tDIMM 1\r\n容量\t8 GB\r\n制造商\tSamsung\r\n"
              u8"型号\tM378A1K43CB2;CRC\r\n类型\tDDR4 / PC4-19200\r\n序列号\t12345678\r\n"
              u8"\r\n[BANK 2]\r\n插槽名称\tDIMM 2\r\n容量\t16 GB\r\n制造商\tCorsair\r\n"
              u8"型号\tCMK32GX5M2B5200C40\r\n类型\tDDR5 / PC5-38400\r\n序列号\t0\r\n")},
        {{"--csv"},
         Utf8(u8"[BANK 1]\r\n插槽名称;DIMM 1\r\n容量;8 GB\r\n制造商;Samsung\r\n"
              u8"型号;M378A1K43CB2;CRC\r\n类型;DDR4 / PC4-19200\r\n序列号;12345678\r\n"
              u8"\r\n[BANK 2]\r\n插槽名称;DIMM 2\r\n容量;16 GB\r\n制造商;Corsair\r\n"
              u8"型号;CMK32GX5M2B5200C40\r\n类型;DDR5 / PC5-38400\r\n序列号;0\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "text" : "csv");
        FakeAutomation automation = MachineWith({kSamsung, kCorsair});
        const Outcome run = Report(automation, c.args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, c.expected);
        EXPECT_EQ(run.err, "");
    }
}

TEST(ReportCommandTest, AMachineWithoutModulesPrintsNothingAndSucceeds) {
    FakeAutomation automation = MachineWith({});
    const Outcome run = Report(automation, {});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST(ReportCommandTest, FailuresGiveTheReasonOnErrorOutputAndNoReport) {
    struct Case {
        const char* name;
        void (*breakIt)(FakeMachine&);
        std::vector<std::string> args;
        int status;
        std::vector<std::string> reasonParts;
    };
    const Case cases[] = {
        {"unreachable service",
         [](FakeMachine& machine) { machine.reachable = false; },
         {},
         1,
         {"slotvane-cli report: ", "cannot be reached", "The RPC server is unavailable"}},
        {"no module class",
         [](FakeMachine& machine) { machine.classes.erase("Win32_PhysicalMemory"); },
         {"--csv"},
         1,
         {"slotvane-cli report: ", "does not list the memory modules"}},
        {"a value that cannot be converted",
         [](FakeMachine& machine) {
             machine.classes["Win32_PhysicalMemory"].push_back(
                 ModuleInstance({"DIMM 2", "4 GB", "Kingston", "KF432C16", 26, 3200, "K1", 0x1A}));
         },
         {},
         1,
         {"slotvane-cli report: "}},
        {"an unknown argument", [](FakeMachine&) {}, {"--xml"}, 2, {"usage: slotvane-cli report"}},
        {"a second argument", [](FakeMachine&) {}, {"--csv", "extra"}, 2, {"usage:"}},
        {"two formats", [](FakeMachine&) {}, {"--csv", "--json"}, 2, {"usage:"}},
        {"no file after --from", [](FakeMachine&) {}, {"--json", "--from"}, 2, {"usage:"}},
        {"two files", [](FakeMachine&) {}, {"--from", "a", "--from", "b"}, 2, {"usage:"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAutomation automation = MachineWith({kSamsung});
        c.breakIt(automation.Machine());
        const Outcome run = Report(automation, c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        for (const std::string& part : c.reasonParts) {
            EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
        }
        EXPECT_EQ(run.err.back(), '\n');
    }
}

TEST(ReportCommandTest, ASavedDocumentGivesTheSameReportAsTheServiceItCameFrom) {
    // The service lists every property for every module: 0 where none is configured.
    const auto runningAt = [](ModuleFixture module, std::int32_t speed) {
        module.configuredClockSpeed = speed;
        return module;
    };
    FakeAutomation automation =
        MachineWith({runningAt(kSamsung, 0), runningAt(kCorsair, 4000), runningAt(kSamsung, 0),
                     runningAt(kCorsair, 0), runningAt(kSamsung, 0)});
    const Outcome saved = Report(automation, {"--json"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    TempFolder folder;
    const std::string path = folder.File("saved.json");
    Save(path, saved.out);

    for (const std::vector<std::string>& format :
         {std::vector<std::string>{}, {"--csv"}, {"--json"}}) {
        SCOPED_TRACE(format.empty() ? "text" : format[0]);
        const Outcome fromService = Report(automation, format);
        const Outcome fromFile = ReportFrom(path, format);
        EXPECT_EQ(fromFile.status, 0);
        EXPECT_EQ(fromFile.err, "");
        EXPECT_EQ(fromFile.out, fromService.out);
    }
    // Every module, the fifth after the fourth; the second with the speed it runs at.
    const Outcome text = ReportFrom(path);
    EXPECT_NE(text.out.find("\r\n\r\n[BANK 5]\r\n"), std::string::npos);
    EXPECT_NE(text.out.find(Utf8(u8"\r\n运行速度\t4000 MT/s (额定 4800 MT/s)\r\n\r\n[BANK 3]")),
              std::string::npos);
}

TEST(ReportCommandTest, AFileThatCannotBeReadGivesOneLineAndNoReport) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"not JSON", "<modules/>", "not a JSON document"},
        {"wrong shape", R"({"arrays": [], "modules": 5})", "\"modules\" is not a list"},
        {"wrong kind", R"({"arrays": [], "modules": [{"Speed": "fast"}]})",
         "modules[0].Speed: a whole number"},
        {"a line break in what the parser quotes", "{\"arrays\": [\n\x01", "not a JSON document"},
        {"a value the scan cannot convert",
         R"({"arrays": [], "modules": [{"InstallDate": "2024\n1301000000.000000+000"}]})",
         "is not a valid date and time"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.File("bad.json");
        Save(path, c.bytes);
        const Outcome run = ReportFrom(path, {"--json"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("slotvane-cli report: " + path + ": ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
    const Outcome missing = ReportFrom(folder.File("missing.json"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("the file cannot be opened"), std::string::npos);
}

// Every real machine: its report document, read back, gives the same document.
TEST(ReportCommandTest, RealMachinesDocumentsReadBackToThemselves) {
    TempFolder folder;
    int machines = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SLOTVANE_MACHINES)) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        ++machines;
        const Outcome first = ReportFrom(entry.path().string(), {"--json"});
        ASSERT_EQ(first.status, 0) << first.err;
        const std::string saved = folder.File("saved.json");
        Save(saved, first.out);
        const Outcome second = ReportFrom(saved, {"--json"});
        EXPECT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(second.out, first.out);
        EXPECT_EQ(ReportFrom(saved).out, ReportFrom(entry.path().string()).out);
    }
    EXPECT_EQ(machines, 46);
}

} // namespace
