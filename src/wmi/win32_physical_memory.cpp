#include "wmi/win32_physical_memory.h"

#include <array>

namespace {

using Record = TWin32_PhysicalMemory;

template <auto Member, auto Convert>
constexpr auto Read = ReadWmiField<Record, Member, Convert>;

// One row per field: the property that fills it and its conversion, in reading order.
constexpr std::array<TWmiField<Record>, 34> kFields = {{
    {"Attributes", Read<&Record::Attributes, WmiVarToCardinal>},
    {"BankLabel", Read<&Record::BankLabel, WmiVarToText>},
    {"Capacity", Read<&Record::Capacity, WmiVarToInt64>},
    {"Caption", Read<&Record::Caption, WmiVarToText>},
    {"ConfiguredClockSpeed", Read<&Record::ConfiguredClockSpeed, WmiVarToCardinal>},
    {"ConfiguredVoltage", Read<&Record::ConfiguredVoltage, WmiVarToCardinal>},
    {"CreationClassName", Read<&Record::CreationClassName, WmiVarToText>},
    {"DataWidth", Read<&Record::DataWidth, WmiVarToWord>},
    {"Description", Read<&Record::Description, WmiVarToText>},
    {"DeviceLocator", Read<&Record::DeviceLocator, WmiVarToText>},
    {"FormFactor", Read<&Record::FormFactor, WmiVarToWord>},
    {"HotSwappable", Read<&Record::HotSwappable, WmiVarToBoolean>},
    {"InstallDate", Read<&Record::InstallDate, WmiVarToDateTime>},
    {"InterleaveDataDepth", Read<&Record::InterleaveDataDepth, WmiVarToWord>},
    {"InterleavePosition", Read<&Record::InterleavePosition, WmiVarToCardinal>},
    {"Manufacturer", Read<&Record::Manufacturer, WmiVarToText>},
    {"MemoryType", Read<&Record::MemoryType, WmiVarToWord>},
    {"Model", Read<&Record::Model, WmiVarToText>},
    {"Name", Read<&Record::Name, WmiVarToText>},
    {"OtherIdentifyingInfo", Read<&Record::OtherIdentifyingInfo, WmiVarToText>},
    {"PartNumber", Read<&Record::PartNumber, WmiVarToText>},
    {"PositionInRow", Read<&Record::PositionInRow, WmiVarToCardinal>},
    {"PoweredOn", Read<&Record::PoweredOn, WmiVarToBoolean>},
    {"Removable", Read<&Record::Removable, WmiVarToBoolean>},
    {"Replaceable", Read<&Record::Replaceable, WmiVarToBoolean>},
    {"SerialNumber", Read<&Record::SerialNumber, WmiVarToText>},
    {"SKU", Read<&Record::SKU, WmiVarToText>},
    {"SMBIOSMemoryType", Read<&Record::SMBIOSMemoryType, WmiVarToCardinal>},
    {"Speed", Read<&Record::Speed, WmiVarToCardinal>},
    {"Status", Read<&Record::Status, WmiVarToText>},
    {"Tag", Read<&Record::Tag, WmiVarToText>},
    {"TotalWidth", Read<&Record::TotalWidth, WmiVarToWord>},
    {"TypeDetail", Read<&Record::TypeDetail, WmiVarToWord>},
    {"Version", Read<&Record::Version, WmiVarToText>},
}};

} // namespace

TWin32_PhysicalMemory::TWin32_PhysicalMemory(bool loadWmiData, IAutomationFactory& automation)
    : TWmiClass("root\\CIMV2", "Win32_PhysicalMemory", FieldNames(kFields), automation) {
    if (loadWmiData) {
        LoadWmiData();
    }
}

TWin32_PhysicalMemory::TWin32_PhysicalMemory(const TWmiClassSnapshot& snapshot)
    : TWmiClass("root\\CIMV2", "Win32_PhysicalMemory", FieldNames(kFields), NoAutomation()) {
    LoadSnapshot(snapshot);
}

std::vector<TWmiProperty> TWin32_PhysicalMemory::Properties() {
    return PropertiesOf(kFields);
}

void TWin32_PhysicalMemory::SetCollectionIndex(std::int32_t index) {
    SelectFields(*this, kFields, index);
}
