// The layer against Wine's real scripting objects.
#include "app/com_init_win.h"
#include "memory/module_scan.h"
#include "wmi/com_automation_win.h"
#include "wmi/win32_physical_memory.h"
#include "wmi/win32_physical_memory_array.h"
#include "wmi/wmi_class.h"
#include "wmi/wmi_conversions.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class WmiWinTest : public ::testing::Test {
protected:
    TComInitialization com; // outlives every COM object of the test
    TComAutomation automation;
};

TEST_F(WmiWinTest, LoadsTheInstalledModules) {
    TWin32_PhysicalMemory modules(true, automation);
    ASSERT_TRUE(modules.Loaded());
    ASSERT_GE(modules.GetCount(), 1);
    EXPECT_TRUE(modules.Connection().Connected);
    EXPECT_FALSE(modules.WmiClassObject().IsEmpty());
    bool anyCapacity = false;
    for (int i = 0; i < modules.GetCount(); ++i) {
        modules.SetCollectionIndex(i);
        anyCapacity = anyCapacity || modules.Capacity > 0;
    }
    EXPECT_TRUE(anyCapacity);
}

TEST_F(WmiWinTest, AClassTheServiceLacksFailsTheLoad) {
    TWmiClass missing(true, "root\\CIMV2", "Win32_NoSuchClassAnywhere", automation);
    EXPECT_FALSE(missing.Loaded());
    EXPECT_EQ(missing.GetCount(), -1);
}

TEST_F(WmiWinTest, MemoryArraysLoadWhateverTheServiceReports) {
    TWin32_PhysicalMemoryArray arrays(true, automation);
    for (int i = 0; i < arrays.GetCount(); ++i) {
        arrays.SetCollectionIndex(i);
    }
    EXPECT_GE(arrays.GetCount(), -1);
}

TEST_F(WmiWinTest, TheModuleScanFillsAPanelFromTheRealService) {
    MemoryView state;
    ScanModules(state, automation, nullptr);
    // Wine's service gives the speed the module runs at, which adds the seventh row.
    TWin32_PhysicalMemory modules(true, automation);
    ASSERT_GE(modules.GetCount(), 1);
    EXPECT_EQ(state.slots[0].rows.size(), modules.ConfiguredClockSpeed > 0 ? 7u : 6u);
    EXPECT_TRUE(state.slots[0].listVisible);
    EXPECT_NE(state.curmemLabel, MemoryView().curmemLabel);
}

// A dictionary of the scripting runtime carries values through IDispatch and back.
TEST_F(WmiWinTest, ValuesAndTextCrossTheSeamUnchanged) {
    const auto dictionary = automation.CreateObject("Scripting.Dictionary");
    const std::string chinese = "插槽名称";
    dictionary->Invoke("Add", {TVariant::Text(chinese), TVariant::Int32(-7)});
    dictionary->Invoke("Add", {TVariant::Text("big"), TVariant::Int64(8589934592)});
    dictionary->Invoke("Add", {TVariant::Text("none"), TVariant::Null()});

    const TVariant small = dictionary->Invoke("Item", {TVariant::Text(chinese)});
    EXPECT_EQ(small.Kind(), VariantKind::Int32);
    EXPECT_EQ(WmiVarToInt64(small), -7);
    EXPECT_EQ(WmiVarToInt64(dictionary->Invoke("Item", {TVariant::Text("big")})), 8589934592);
    EXPECT_TRUE(dictionary->Invoke("Item", {TVariant::Text("none")}).IsNull());
    EXPECT_EQ(WmiVarToInt64(dictionary->Invoke("Count", {})), 3);

    const auto keys = dictionary->NewEnum();
    TVariant key;
    ASSERT_TRUE(keys->Next(key));
    EXPECT_EQ(WmiVarToText(key), chinese);

    EXPECT_THROW(dictionary->Invoke("NoSuchMember", {}), std::runtime_error);
    EXPECT_THROW(automation.CreateObject("Slotvane.NoSuchObject"), std::runtime_error);
}

} // namespace
