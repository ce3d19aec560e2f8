#include "memory/report_json.h"

#include "memory/module_scan.h"
#include "support/temp_folder.h"
#include "wmi/win32_physical_memory.h"
#include "wmi/win32_physical_memory_array.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Utf8(std::u8string_view text) {
    return std::string(text.begin(), text.end());
}

// A document with one array and the given module records (JSON text).
std::string WithModules(const std::string& modules) {
    return R"({"arrays": [{"MaxCapacity": 16777216, "MemoryDevices": 2}], "modules": [)" + modules +
           "]}";
}

std::string Repeated(const std::string& item, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += (i > 0 ? "," : "") + item;
    }
    return text;
}

std::string ErrorOf(const std::string& document) {
    try {
        SnapshotFromReportJson(document);
    } catch (const ReportFileError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(ReportJsonTest, HostileDocumentsAreRefusedWithOneLineNamingTheProblem) {
    struct Case {
        const char* name;
        std::string document;
        std::string problem;
    };
    const Case cases[] = {
        {"not JSON", "MemoryType=26", "not a JSON document"},
        {"empty", "", "not a JSON document"},
        {"cut short", R"({"arrays": [], "modules": [{"Speed": 26)", "not a JSON document"},
        {"not UTF-8", WithModules("{\"PartNumber\": \"\xC0\xE0\"}"), "not a JSON document"},
        {"a number too large for any type", WithModules(R"({"Speed": 1e999})"),
         "not a JSON document"},
        {"a list, not a record", "[]", "not a record with \"arrays\" and \"modules\""},
        {"no modules", R"({"arrays": []})", "\"modules\" is missing"},
        {"no arrays", R"({"modules": []})", "\"arrays\" is missing"},
        {"modules not a list", R"({"arrays": [], "modules": {"Speed": 1}})",
         "\"modules\" is not a list of records"},
        {"a module that is no record", WithModules("{}, 7"), "modules[1] is not a record"},
        {"a number as text", WithModules(R"({"Speed": "2667"})"),
         "modules[0].Speed: a whole number from 0 to 4294967295 expected"},
        {"a fraction", WithModules(R"({"Speed": 2667.5})"), "modules[0].Speed: a whole number"},
        {"a negative number", WithModules(R"({"MemoryType": -1})"),
         "modules[0].MemoryType: a whole number from 0 to 65535 expected"},
        {"above 16 bits", WithModules(R"({"FormFactor": 65536})"),
         "modules[0].FormFactor: a whole number from 0 to 65535"},
        {"above 32 bits", WithModules(R"({"Speed": 4294967296})"), "modules[0].Speed: a whole"},
        {"beyond 64 bits", WithModules(R"({"Speed": 99999999999999999999999})"),
         "modules[0].Speed: a whole"},
        {"a 64-bit number as a number", WithModules(R"({"Capacity": 8589934592})"),
         "modules[0].Capacity: a string of decimal digits"},
        {"a 64-bit number with a unit", WithModules(R"({"Capacity": "8 GB"})"),
         "modules[0].Capacity: a string of decimal digits"},
        {"a 64-bit number beyond 64 bits", WithModules(R"({"Capacity": "9223372036854775808"})"),
         "modules[0].Capacity: a string of decimal digits up to 9223372036854775807"},
        {"a text as a number", WithModules(R"({"DeviceLocator": 5})"),
         "modules[0].DeviceLocator: a string expected"},
        {"a flag as text", WithModules(R"({"HotSwappable": "yes"})"),
         "modules[0].HotSwappable: true or false expected"},
        {"a measure as text", R"({"arrays": [{"Depth": "deep"}], "modules": []})",
         "arrays[0].Depth: a number expected"},
        {"nested deeply", std::string(100000, '['), "nested deeper than 16 levels"},
        {"nested deeply under a key that is not read",
         R"({"arrays": [], "modules": [], "note": )" + std::string(20, '[') + std::string(20, ']') +
             "}",
         "nested deeper than 16 levels"},
        {"too many modules", WithModules(Repeated("{}", 1025)),
         "\"modules\" holds more than 1024 records"},
        {"too many arrays", R"({"modules": [], "arrays": [)" + Repeated("{}", 1025) + "]}",
         "\"arrays\" holds more than 1024 records"},
        {"too many values",
         R"({"arrays": [], "modules": [], "note": [)" + Repeated("0", 300000) + "]}",
         "holds more than 262144 values"},
        {"larger than 16 MiB", std::string(16 * 1024 * 1024 + 1, ' '),
         "the file is larger than 16 MiB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string problem = ErrorOf(c.document);
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
        EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
    }
}

TEST(ReportJsonTest, RecordsReadAsTheServiceGivesThemWithOtherKeysIgnored) {
    const MemorySnapshot snapshot = SnapshotFromReportJson(Utf8(
        u8R"({"comment": "saved by hand", "arrays": [{"MaxCapacity": 2147483648, "MemoryDevices": 16,
              "Depth": 1.5, "Tag": null, "maxcapacity": 1}],
           "modules": [{"Capacity": "34359738368", "DeviceLocator": "插槽 A1 ✓",
                        "Manufacturer": "Samsung", "Speed": 3200, "ConfiguredClockSpeed": 2933,
                        "HotSwappable": false, "Unknown": {"deeper": [1, 2]}}]})"));

    TWin32_PhysicalMemoryArray arrays(snapshot.arrays);
    ASSERT_EQ(arrays.GetCount(), 1);
    EXPECT_EQ(arrays.MaxCapacity, 2147483648u); // above the 32-bit signed range
    EXPECT_EQ(arrays.MemoryDevices, 16);
    EXPECT_EQ(arrays.Depth, 1.5);
    EXPECT_TRUE(arrays.GetPropValueByIndex("Tag", 0).IsNull());

    TWin32_PhysicalMemory modules(snapshot.modules);
    ASSERT_EQ(modules.GetCount(), 1);
    EXPECT_EQ(modules.Capacity, 34359738368);
    EXPECT_EQ(modules.GetPropValueByIndex("Capacity", 0).Kind(), VariantKind::Text);
    // GBK for what GBK spells, GB18030's four bytes for the check mark it does not.
    EXPECT_EQ(modules.DeviceLocator, "\xB2\xE5\xB2\xDB A1 \x81\x37\xBD\x37");
    EXPECT_EQ(modules.Speed, 3200u);
    EXPECT_EQ(modules.ConfiguredClockSpeed, 2933u);
    EXPECT_TRUE(modules.GetPropValueByIndex("PartNumber", 0).IsNull());
}

// A machine scanned from a document, and its document written again.
std::string Rewritten(const std::string& document) {
    const MemorySnapshot snapshot = SnapshotFromReportJson(document);
    MemoryView view;
    EXPECT_TRUE(ScanModules(view, snapshot, nullptr));
    return ReportJson(snapshot, view);
}

TEST(ReportJsonTest, TheDocumentHoldsTheRecordsAndWhatTheWindowShows) {
    const std::string written =
        Rewritten(Utf8(u8R"({"arrays": [{"MaxCapacity": 33554432, "MemoryDevices": 4, "Use": 3}],
           "modules": [
             {"Attributes": 2, "BankLabel": "BANK 0", "Capacity": "17179869184",
              "ConfiguredClockSpeed": 2133, "ConfiguredVoltage": 1200, "DataWidth": 64,
              "DeviceLocator": "DIMM 1", "FormFactor": 8, "Manufacturer": "0198",
              "MemoryType": 26, "PartNumber": "KHX3200C16D4/16GX", "SMBIOSMemoryType": 26,
              "SerialNumber": "1A2B", "Speed": 3200, "TotalWidth": 72},
             {"Capacity": "8589934592", "DeviceLocator": "DIMM 2", "FormFactor": 0,
              "Manufacturer": "Manufacturer00", "PartNumber": "P", "MemoryType": 24,
              "Speed": 1600}]})"));

    EXPECT_EQ(written, Utf8(u8R"json({
  "arrays": [
    {
      "MaxCapacity": 33554432,
      "MemoryDevices": 4,
      "Use": 3
    }
  ],
  "modules": [
    {
      "Attributes": 2,
      "BankLabel": "BANK 0",
      "Capacity": "17179869184",
      "ConfiguredClockSpeed": 2133,
      "ConfiguredVoltage": 1200,
      "DataWidth": 64,
      "DeviceLocator": "DIMM 1",
      "FormFactor": 8,
      "Manufacturer": "0198",
      "MemoryType": 26,
      "PartNumber": "KHX3200C16D4/16GX",
      "SerialNumber": "1A2B",
      "SMBIOSMemoryType": 26,
      "Speed": 3200,
      "TotalWidth": 72,
      "shown": {
        "slot": "DIMM 1",
        "capacity": "16 GB",
        "maker": "Kingston",
        "part": "KHX3200C16D4/16GX",
        "type": "DDR4 / PC4-25600",
        "serial": "1A2B",
        "speed": "2133 MT/s (额定 3200 MT/s)",
        "rank": 2,
        "form_factor": "DIMM",
        "ecc": true,
        "voltage": 1.2
      }
    },
    {
      "Capacity": "8589934592",
      "DeviceLocator": "DIMM 2",
      "FormFactor": 0,
      "Manufacturer": "Manufacturer00",
      "MemoryType": 24,
      "PartNumber": "P",
      "Speed": 1600,
      "shown": {
        "slot": "DIMM 2",
        "capacity": "8 GB",
        "maker": "N/A",
        "part": "N/A",
        "type": "DDR3 / PC3-12800",
        "serial": "N/A"
      }
    }
  ]
}
)json"));
    EXPECT_EQ(Rewritten(written), written);
}

TEST(ReportJsonTest, AFailedArrayQueryWritesNoArray) {
    MemorySnapshot snapshot = SnapshotFromReportJson(WithModules(""));
    snapshot.arrays.loaded = false;
    MemoryView view;
    ScanModules(view, snapshot, nullptr);
    EXPECT_EQ(ReportJson(snapshot, view), "{\n  \"arrays\": [],\n  \"modules\": []\n}\n");
}

TEST(ReportJsonTest, AFileIsRefusedUnreadAboveItsCapAndWhenMissing) {
    TempFolder folder;
    const std::string huge = folder.File("huge.json");
    std::ofstream(huge, std::ios::binary) << "{";
    std::filesystem::resize_file(huge, 100 * 1024 * 1024);
    const std::string saved = folder.File("saved.json");
    std::ofstream(saved, std::ios::binary) << WithModules(R"({"DeviceLocator": "A"})");

    const auto problem = [](const std::string& path) -> std::string {
        try {
            ReadReportFile(path);
        } catch (const ReportFileError& error) {
            return error.what();
        }
        return "(accepted)";
    };
    EXPECT_EQ(problem(huge), "the file is larger than 16 MiB");
    EXPECT_EQ(problem(folder.File("missing.json")), "the file cannot be opened");
    EXPECT_EQ(problem(saved), "(accepted)");
    EXPECT_EQ(ReadReportFile(saved).modules.instances.size(), 1u);
}

} // namespace
