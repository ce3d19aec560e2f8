#include "cli/report_command.h"

#include "wmi/fake_wmi_service.h"
#include "wmi/memory_fixtures.h"

#include <gtest/gtest.h>

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

Outcome Report(FakeAutomation& automation, const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunReportCommand(args, automation, out, err);
    return {status, out.str(), err.str()};
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

} // namespace
