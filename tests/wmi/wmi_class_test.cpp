#include "wmi/wmi_class.h"

#include "wmi/fake_wmi_service.h"
#include "wmi/memory_fixtures.h"
#include "wmi/win32_physical_memory.h"
#include "wmi/win32_physical_memory_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::string kModules = "Win32_PhysicalMemory";
const std::string kArrays = "Win32_PhysicalMemoryArray";

const ModuleFixture kModule0{"DIMM 1", "8589934592", "Samsung", "M378A1K43CB2", 26, 2400, "S0"};
const ModuleFixture kModule1{"DIMM 2", "34359738368", "Kingston", "KF432C16", 24, 1600, "K1"};

// The names a Win32_PhysicalMemory wrapper reads, in its order.
const std::vector<std::string> kModuleFieldNames = {"BankLabel",
                                                    "Capacity",
                                                    "Caption",
                                                    "CreationClassName",
                                                    "DataWidth",
                                                    "Description",
                                                    "DeviceLocator",
                                                    "FormFactor",
                                                    "HotSwappable",
                                                    "InstallDate",
                                                    "InterleaveDataDepth",
                                                    "InterleavePosition",
                                                    "Manufacturer",
                                                    "MemoryType",
                                                    "Model",
                                                    "Name",
                                                    "OtherIdentifyingInfo",
                                                    "PartNumber",
                                                    "PositionInRow",
                                                    "PoweredOn",
                                                    "Removable",
                                                    "Replaceable",
                                                    "SerialNumber",
                                                    "SKU",
                                                    "SMBIOSMemoryType",
                                                    "Speed",
                                                    "Status",
                                                    "Tag",
                                                    "TotalWidth",
                                                    "TypeDetail",
                                                    "Version"};

class WmiClassTest : public ::testing::Test {
protected:
    FakeAutomation automation;
    FakeMachine& machine = automation.Machine();

    void Modules(std::vector<FakeInstance> instances) { machine.classes[kModules] = instances; }
};

TEST_F(WmiClassTest, LoadAsksOnceAndHoldsTheFirstInstance) {
    Modules({ModuleInstance(kModule0), ModuleInstance(kModule1)});

    TWin32_PhysicalMemory modules(true, automation);

    EXPECT_TRUE(modules.Loaded());
    EXPECT_EQ(modules.GetCount(), 2);
    EXPECT_EQ(modules.CurrentIndex(), 0);
    EXPECT_EQ(modules.DeviceLocator, "DIMM 1");
    EXPECT_EQ(modules.Capacity, 8589934592);
    EXPECT_EQ(modules.MemoryType, 26);
    EXPECT_EQ(modules.Speed, 2400u);
    EXPECT_EQ(modules.PropertyNames(),
              (std::vector<std::string>{"BankLabel", "Capacity", "DeviceLocator", "Manufacturer",
                                        "MemoryType", "PartNumber", "SerialNumber", "Speed"}));
    EXPECT_EQ(machine.calls, (std::vector<std::string>{
                                 "ConnectServer(localhost, root\\CIMV2, , )",
                                 "ExecQuery(SELECT * FROM Win32_PhysicalMemory, WQL, 48)",
                                 "Get(Win32_PhysicalMemory, 0, Nothing)",
                             }));
    EXPECT_FALSE(modules.WmiClassObject().IsEmpty());
    ASSERT_EQ(modules.Instances().size(), 2u);
    EXPECT_GE(modules.Instances()[0].Values.size(), kWmiValueSlots);
    EXPECT_EQ(modules.Instances()[1].WmiObject.VariantValue.Kind(), VariantKind::Object);
}

TEST_F(WmiClassTest, WithoutLoadingNothingIsAsked) {
    Modules({ModuleInstance(kModule0)});
    TWin32_PhysicalMemory modules(false, automation);
    EXPECT_FALSE(modules.Loaded());
    EXPECT_EQ(modules.GetCount(), -1);
    EXPECT_TRUE(machine.calls.empty());
}

TEST_F(WmiClassTest, AClassWithoutInstancesLoadsEmpty) {
    Modules({});
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_TRUE(modules.Loaded());
    EXPECT_EQ(modules.GetCount(), 0);
    EXPECT_EQ(modules.CurrentIndex(), -1);
    EXPECT_EQ(modules.Capacity, 0);
    EXPECT_EQ(modules.DeviceLocator, "");
    EXPECT_FALSE(modules.PoweredOn);
}

TEST_F(WmiClassTest, AClassTheNamespaceLacksFailsTheLoad) {
    machine.classes["Win32_Other"] = {ModuleInstance(kModule0)};
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_FALSE(modules.Loaded());
    EXPECT_EQ(modules.GetCount(), -1);
}

TEST_F(WmiClassTest, AnUnreachableServiceIsTriedAgainByTheNextLoad) {
    Modules({ModuleInstance(kModule0)});
    machine.reachable = false;
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_EQ(modules.GetCount(), -1);
    EXPECT_FALSE(modules.Connection().Connected);

    machine.reachable = true;
    EXPECT_TRUE(modules.LoadWmiData());
    EXPECT_EQ(modules.GetCount(), 1);
    EXPECT_EQ(modules.DeviceLocator, "DIMM 1");

    // Once connected, a refresh does not connect again.
    EXPECT_TRUE(modules.LoadWmiData());
    const auto connects =
        std::count_if(machine.calls.begin(), machine.calls.end(),
                      [](const std::string& call) { return call.starts_with("ConnectServer"); });
    EXPECT_EQ(connects, 2);
}

TEST_F(WmiClassTest, SelectionRereadsOnlyAnotherIndexInRange) {
    Modules({ModuleInstance(kModule0), ModuleInstance(kModule1)});
    TWin32_PhysicalMemory modules(true, automation);

    modules.SetCollectionIndex(1);
    EXPECT_EQ(modules.CurrentIndex(), 1);
    EXPECT_EQ(modules.DeviceLocator, "DIMM 2");
    EXPECT_EQ(modules.Capacity, 34359738368);

    // The same index, -1 and the count leave the fields alone.
    modules.DeviceLocator = "untouched";
    for (const int index : {1, -1, 2}) {
        modules.SetCollectionIndex(index);
        EXPECT_EQ(modules.CurrentIndex(), 1);
        EXPECT_EQ(modules.DeviceLocator, "untouched");
    }

    modules.SetCollectionIndex(0);
    EXPECT_EQ(modules.DeviceLocator, "DIMM 1");
    EXPECT_EQ(modules.Manufacturer, "Samsung");
}

// Windows 10 and later deliver the firmware's memory-device type; older systems and Wine lack it.
TEST_F(WmiClassTest, TheFirmwaresMemoryTypeIsReadAndAbsentIsZero) {
    ModuleFixture ddr5 = kModule0;
    ddr5.smbiosMemoryType = 0x22;
    for (const bool enumerates : {true, false}) {
        SCOPED_TRACE(enumerates ? "listed properties" : "fields read by name");
        for (const auto& [module, expected] : {std::pair{ddr5, 0x22u}, std::pair{kModule1, 0u}}) {
            FakeAutomation service;
            service.Machine().enumeratesPropertySets = enumerates;
            service.Machine().classes[kModules] = {ModuleInstance(module)};
            TWin32_PhysicalMemory modules(true, service);
            ASSERT_EQ(modules.GetCount(), 1);
            EXPECT_EQ(modules.SMBIOSMemoryType, expected);
        }
    }
}

// Read by name, a module without the property does not keep the previous module's value.
TEST_F(WmiClassTest, AModuleWithoutTheFirmwaresTypeReadsZeroAfterOneWithIt) {
    machine.enumeratesPropertySets = false;
    ModuleFixture ddr5 = kModule0;
    ddr5.smbiosMemoryType = 0x22;
    Modules({ModuleInstance(ddr5), ModuleInstance(kModule1)});
    TWin32_PhysicalMemory modules(true, automation);

    EXPECT_EQ(modules.SMBIOSMemoryType, 0x22u);
    modules.SetCollectionIndex(1);
    EXPECT_EQ(modules.SMBIOSMemoryType, 0u);
}

TEST_F(WmiClassTest, NamesAreFoundWithoutRegardToLetterCase) {
    Modules(
        {{{"CAPACITY", TVariant::Text("4294967296")}, {"devicelocator", TVariant::Text("A1")}}});
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_EQ(modules.Capacity, 4294967296);
    EXPECT_EQ(modules.DeviceLocator, "A1");
    EXPECT_EQ(WmiVarToText(modules.GetPropValue("Capacity")), "4294967296");
    EXPECT_EQ(WmiVarToText(modules.GetPropValueByIndex("DeviceLocator", 0)), "A1");
}

TEST_F(WmiClassTest, StoredValuesKeepTheirKind) {
    Modules({{{"PartNumber", TVariant::Null()},
              {"SerialNumber", TVariant()},
              {"Speed", TVariant::Int32(1600)}}});
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_TRUE(modules.GetPropValue("PartNumber").IsNull());
    EXPECT_TRUE(modules.GetPropValue("SerialNumber").IsEmpty());
    EXPECT_EQ(modules.GetPropValue("Speed").Kind(), VariantKind::Int32);
    // A name the class does not have reads as null, so its field keeps the default.
    EXPECT_TRUE(modules.GetPropValue("Capacity").IsNull());
    EXPECT_EQ(modules.Capacity, 0);
}

TEST_F(WmiClassTest, GettersNeedASelectedInstance) {
    Modules({ModuleInstance(kModule0)});
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_THROW(modules.GetPropValueByIndex("Capacity", 1), std::out_of_range);
    modules.ClearInstances();
    EXPECT_EQ(modules.CurrentIndex(), -1);
    EXPECT_THROW(modules.GetPropValue("Capacity"), std::out_of_range);
    EXPECT_FALSE(modules.PropertyNames().empty());
}

TEST_F(WmiClassTest, ARefreshKeepsTheNamesOfTheFirstLoad) {
    Modules({{{"DeviceLocator", TVariant::Text("A1")}, {"Speed", TVariant::Int32(800)}}});
    TWin32_PhysicalMemory modules(true, automation);

    Modules({{{"Speed", TVariant::Int32(1600)},
              {"Capacity", TVariant::Text("1073741824")},
              {"DeviceLocator", TVariant::Text("B1")}}});
    EXPECT_TRUE(modules.LoadWmiData());

    EXPECT_EQ(modules.PropertyNames(), (std::vector<std::string>{"DeviceLocator", "Speed"}));
    EXPECT_EQ(modules.DeviceLocator, "B1");
    EXPECT_EQ(modules.Speed, 1600u);
    EXPECT_EQ(modules.Capacity, 0); // not among the names listed first
}

TEST_F(WmiClassTest, APropertyMissingOnALaterInstanceFailsTheLoad) {
    Modules({ModuleInstance(kModule0), {{"Capacity", TVariant::Text("1")}}});
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_FALSE(modules.Loaded());
    EXPECT_EQ(modules.GetCount(), -1);
    EXPECT_EQ(modules.Instances().size(), 2u); // kept until the next load
}

TEST_F(WmiClassTest, AConversionErrorLeavesTheSelectionMovedAndTheFieldsPartlyRead) {
    FakeInstance good = ModuleInstance(kModule0);
    good.push_back({"InstallDate", TVariant::Text("20240131000000.000000+000")});
    FakeInstance broken = ModuleInstance(kModule1);
    broken.push_back({"InstallDate", TVariant::Text("20241399000000.000000+000")});
    Modules({good, broken});
    TWin32_PhysicalMemory modules(true, automation);
    ASSERT_TRUE(modules.Loaded());

    EXPECT_THROW(modules.SetCollectionIndex(1), ConversionError);
    EXPECT_EQ(modules.CurrentIndex(), 1);
    EXPECT_EQ(modules.Capacity, 34359738368);   // read before InstallDate
    EXPECT_EQ(modules.DeviceLocator, "DIMM 2"); // read before InstallDate
    EXPECT_EQ(modules.Manufacturer, "Samsung"); // after it: still module 0
    EXPECT_EQ(modules.Speed, 2400u);

    EXPECT_NO_THROW(modules.SetCollectionIndex(1)); // already selected
    EXPECT_EQ(modules.Manufacturer, "Samsung");
}

TEST_F(WmiClassTest, AConversionErrorInTheFirstSelectionFailsTheLoad) {
    ModuleFixture broken = kModule0;
    broken.capacity = "8 GB";
    Modules({ModuleInstance(broken), ModuleInstance(kModule1)});
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_FALSE(modules.Loaded());
    EXPECT_EQ(modules.GetCount(), -1);
    EXPECT_EQ(modules.CurrentIndex(), 0);
    EXPECT_EQ(modules.BankLabel, "BANK 0");
}

TEST_F(WmiClassTest, TheSixtyFourBitCapacityIsHeldWhole) {
    struct Case {
        TVariant capacity;
        std::int64_t expected;
    };
    const Case cases[] = {
        {TVariant::Text("8589934592"), 8589934592},
        {TVariant::Text("34359738368"), 34359738368},
        {TVariant::Null(), 0},
    };
    for (const auto& c : cases) {
        Modules({{{"Capacity", c.capacity}, {"Speed", TVariant::Null()}}});
        TWin32_PhysicalMemory modules(true, automation);
        EXPECT_EQ(modules.Capacity, c.expected);
        EXPECT_EQ(modules.Speed, 0u);
    }
}

TEST_F(WmiClassTest, FindsAnInstanceByPropertyValue) {
    Modules({ModuleInstance(kModule0), ModuleInstance(kModule1)});
    TWin32_PhysicalMemory modules(true, automation);
    EXPECT_EQ(modules.GetCollectionIndexByPropValue("DeviceLocator", TVariant::Text("DIMM 2")), 1);
    EXPECT_EQ(modules.GetCollectionIndexByPropValue("capacity", TVariant::Int64(8589934592)), 0);
    EXPECT_EQ(modules.GetCollectionIndexByPropValue("DeviceLocator", TVariant::Text("DIMM 3")), -1);

    TWin32_PhysicalMemory unloaded(false, automation);
    EXPECT_EQ(unloaded.GetCollectionIndexByPropValue("DeviceLocator", TVariant::Text("DIMM 1")),
              -1);
}

TEST_F(WmiClassTest, APlainWrapperCannotSelect) {
    Modules({ModuleInstance(kModule0)});
    TWmiClass plain(true, "root\\CIMV2", kModules, automation);
    EXPECT_FALSE(plain.Loaded());
    EXPECT_THROW(plain.SetCollectionIndex(0), std::runtime_error);

    Modules({});
    EXPECT_TRUE(plain.LoadWmiData());
    EXPECT_EQ(plain.GetCount(), 0);
}

TEST_F(WmiClassTest, ArraysAreSelectedInTurn) {
    machine.classes[kArrays] = {
        {{"MaxCapacity", TVariant::Int32(33554432)},
         {"MemoryDevices", TVariant::Int32(4)},
         {"Depth", TVariant::Real(static_cast<float>(1.5))},
         {"InstallDate", TVariant::Text("20240131235959.000000+060")}},
        {{"MaxCapacity", TVariant::Null()},
         {"MemoryDevices", TVariant::Null()},
         {"Depth", TVariant::Real(0.0)},
         {"InstallDate", TVariant::Null()}},
    };
    TWin32_PhysicalMemoryArray arrays(true, automation);
    EXPECT_EQ(arrays.GetCount(), 2);

    arrays.SetCollectionIndex(1);
    EXPECT_EQ(arrays.MaxCapacity, 0u);
    EXPECT_EQ(arrays.MemoryDevices, 0);

    arrays.SetCollectionIndex(0);
    EXPECT_EQ(arrays.MaxCapacity, 33554432u);
    EXPECT_EQ(arrays.MemoryDevices, 4);
    EXPECT_EQ(arrays.Depth, 1.5);
    EXPECT_DOUBLE_EQ(arrays.InstallDate, 45322.0 + 86399.0 / 86400.0);
}

// Wine's service will not enumerate a property set (or name a property) while Item and Value work.
// The wrapper then reads its own fields by name, and a name the service lacks reads as null.
TEST_F(WmiClassTest, ARefusedPropertyListingFallsBackToTheWrappersFields) {
    struct Case {
        const char* refusal;
        bool enumerates;
        bool names;
    };
    for (const Case c : {Case{"enumeration", false, true}, Case{"Name", true, false},
                         Case{"both", false, false}}) {
        SCOPED_TRACE(c.refusal);
        FakeAutomation refusing;
        refusing.Machine().enumeratesPropertySets = c.enumerates;
        refusing.Machine().namesProperties = c.names;
        refusing.Machine().classes[kModules] = {ModuleInstance(kModule0),
                                                {{"DeviceLocator", TVariant::Text("DIMM 2")}}};

        TWin32_PhysicalMemory modules(true, refusing);

        EXPECT_TRUE(modules.Loaded());
        EXPECT_EQ(modules.GetCount(), 2);
        EXPECT_EQ(modules.PropertyNames(), kModuleFieldNames);
        EXPECT_EQ(modules.Capacity, 8589934592);
        EXPECT_EQ(modules.PartNumber, "M378A1K43CB2");
        EXPECT_EQ(modules.Speed, 2400u);
        EXPECT_EQ(modules.Caption, ""); // the service has no such property
        EXPECT_TRUE(modules.GetPropValue("Caption").IsNull());

        modules.SetCollectionIndex(1);
        EXPECT_EQ(modules.DeviceLocator, "DIMM 2");
        EXPECT_EQ(modules.Capacity, 0);
        EXPECT_EQ(modules.Manufacturer, "");
    }
}

// Only a refusal leads to the fallback: any other failure of the listing fails the load, so that
// a service error shows as a failed query, not as empty rows.
TEST_F(WmiClassTest, OnlyARefusalFallsBack) {
    struct Case {
        const char* failing;
        bool enumerates;
        std::uint32_t code;
        bool loads;
    };
    const Case cases[] = {
        {"enumeration", false, 0x80004001, true}, // not implemented
        {"enumeration", false, 0x80020003, true}, // member not found
        {"enumeration", false, 0x80020009, true}, // automation exception
        {"Name", true, 0x80004001, true},
        {"Name", true, 0x80020003, true},
        {"Name", true, 0x80020009, true},
        {"enumeration", false, 0x80041006, false}, // out of memory
        {"enumeration", false, 0x800706BA, false}, // the RPC server is unavailable
        {"Name", true, 0x80041001, false},         // generic failure
        {"Name", true, 0x80070005, false},         // access denied
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.failing) + " " + std::to_string(c.code));
        FakeAutomation failing;
        failing.Machine().enumeratesPropertySets = c.enumerates;
        failing.Machine().namesProperties = !c.enumerates;
        failing.Machine().enumerationError = c.code;
        failing.Machine().nameError = c.code;
        failing.Machine().classes[kModules] = {ModuleInstance(kModule0)};

        TWin32_PhysicalMemory modules(true, failing);

        EXPECT_EQ(modules.Loaded(), c.loads);
        EXPECT_EQ(modules.GetCount(), c.loads ? 1 : -1);
        EXPECT_EQ(modules.Capacity, c.loads ? 8589934592 : 0);
    }
}

// In the fallback, only a property the class lacks reads as null; any other failure to read a
// field fails the load, as it does when the service lists the names itself.
TEST_F(WmiClassTest, TheFallbackReadsOnlyAMissingPropertyAsNull) {
    struct Case {
        const char* failure;
        std::uint32_t code;
        bool loads;
    };
    const Case cases[] = {
        {"not found", 0x80041002, true},
        {"generic failure", 0x80041001, false},
        {"the RPC server is unavailable", 0x800706BA, false},
        {"automation exception", 0x80020009, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        FakeAutomation service;
        service.Machine().enumeratesPropertySets = false;
        service.Machine().failingItems["Capacity"] = c.code;
        service.Machine().classes[kModules] = {ModuleInstance(kModule0)};

        TWin32_PhysicalMemory modules(true, service);

        EXPECT_EQ(modules.GetCount(), c.loads ? 1 : -1);
        if (c.loads) {
            EXPECT_TRUE(modules.GetPropValue("Capacity").IsNull());
            EXPECT_EQ(modules.PartNumber, "M378A1K43CB2");
        }
    }
}

TEST_F(WmiClassTest, TheFallbackOutlivesARefresh) {
    machine.enumeratesPropertySets = false;
    Modules({ModuleInstance(kModule0)});
    TWin32_PhysicalMemory modules(true, automation);

    Modules({{{"Capacity", TVariant::Text("2147483648")}}});
    EXPECT_TRUE(modules.LoadWmiData());
    EXPECT_EQ(modules.Capacity, 2147483648);
    EXPECT_EQ(modules.DeviceLocator, "");
}

TEST_F(WmiClassTest, AnArrayWrapperFallsBackToItsOwnFields) {
    machine.enumeratesPropertySets = false;
    machine.classes[kArrays] = {ArrayInstance(8388608, 2)};
    TWin32_PhysicalMemoryArray arrays(true, automation);
    EXPECT_EQ(arrays.GetCount(), 1);
    EXPECT_EQ(arrays.PropertyNames().size(), 27u);
    EXPECT_EQ(arrays.PropertyNames().front(), "Caption");
    EXPECT_EQ(arrays.PropertyNames().back(), "Width");
    EXPECT_EQ(arrays.MaxCapacity, 8388608u);
    EXPECT_EQ(arrays.MemoryDevices, 2);
}

} // namespace

// A snapshot carries what a load stored to another wrapper, which then behaves as if it had
// loaded itself: same instances, same selection, same conversions, same failures.
TEST_F(WmiClassTest, ASnapshotLoadsAnotherWrapperAsTheServiceDid) {
    // Every instance has the property the service lists, the second one with a bad value.
    FakeInstance good = ModuleInstance(kModule0);
    good.push_back({"InstallDate", TVariant::Text("20240131000000.000000+000")});
    FakeInstance broken = ModuleInstance(kModule1);
    broken.push_back({"InstallDate", TVariant::Text("20241399000000.000000+000")});
    Modules({good, broken});
    const TWin32_PhysicalMemory loaded(true, automation);
    const TWmiClassSnapshot snapshot = loaded.Snapshot();
    const std::size_t callsBefore = machine.calls.size();

    TWin32_PhysicalMemory copy(snapshot);

    EXPECT_EQ(machine.calls.size(), callsBefore); // the service is not asked again
    EXPECT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.PropertyNames(), loaded.PropertyNames());
    EXPECT_EQ(copy.DeviceLocator, "DIMM 1");
    EXPECT_EQ(copy.Capacity, 8589934592);
    EXPECT_EQ(copy.GetPropValueByIndex("Speed", 1).Kind(), VariantKind::Int32);
    EXPECT_THROW(copy.SetCollectionIndex(1), ConversionError);
    EXPECT_EQ(copy.DeviceLocator, "DIMM 2");
}

TEST_F(WmiClassTest, ASnapshotKeepsAFailedQueryAndItsReason) {
    const TWin32_PhysicalMemory loaded(true, automation); // the class is missing
    const TWmiClassSnapshot snapshot = loaded.Snapshot();
    EXPECT_FALSE(snapshot.loaded);
    EXPECT_FALSE(snapshot.error.empty());
    EXPECT_EQ(snapshot.error, loaded.LoadError());

    const TWin32_PhysicalMemory copy(snapshot);
    EXPECT_EQ(copy.GetCount(), -1);
    EXPECT_EQ(copy.LoadError(), snapshot.error);
}

TEST_F(WmiClassTest, ASnapshotFromElsewhereIsCheckedAsALoadIs) {
    // Values that are not there read as null; a first instance that cannot be converted fails
    // the load, as it does when the service delivers it.
    TWmiClassSnapshot snapshot;
    snapshot.loaded = true;
    snapshot.propertyNames = {"Capacity", "DeviceLocator"};
    snapshot.instances = {{TVariant::Text("1024")}};
    const TWin32_PhysicalMemory shortRow(snapshot);
    EXPECT_EQ(shortRow.GetCount(), 1);
    EXPECT_EQ(shortRow.Capacity, 1024);
    EXPECT_TRUE(shortRow.GetPropValue("DeviceLocator").IsNull());

    snapshot.instances = {{TVariant::Text("8 GB"), TVariant::Text("DIMM 1")}};
    const TWin32_PhysicalMemory broken(snapshot);
    EXPECT_EQ(broken.GetCount(), -1);
    EXPECT_FALSE(broken.LoadError().empty());
}
