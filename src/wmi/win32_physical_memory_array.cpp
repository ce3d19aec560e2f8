#include "wmi/win32_physical_memory_array.h"

#include <array>

namespace {

using Record = TWin32_PhysicalMemoryArray;

template <auto Member, auto Convert>
constexpr auto Read = ReadWmiField<Record, Member, Convert>;

// One row per field: the property that fills it and its conversion, in reading order.
constexpr std::array<TWmiField<Record>, 27> kFields = {{
    {"Caption", Read<&Record::Caption, WmiVarToText>},
    {"CreationClassName", Read<&Record::CreationClassName, WmiVarToText>},
    {"Depth", Read<&Record::Depth, WmiVarToDouble>},
    {"Description", Read<&Record::Description, WmiVarToText>},
    {"Height", Read<&Record::Height, WmiVarToDouble>},
    {"HotSwappable", Read<&Record::HotSwappable, WmiVarToBoolean>},
    {"InstallDate", Read<&Record::InstallDate, WmiVarToDateTime>},
    {"Location", Read<&Record::Location, WmiVarToWord>},
    {"Manufacturer", Read<&Record::Manufacturer, WmiVarToText>},
    {"MaxCapacity", Read<&Record::MaxCapacity, WmiVarToCardinal>},
    {"MemoryDevices", Read<&Record::MemoryDevices, WmiVarToWord>},
    {"MemoryErrorCorrection", Read<&Record::MemoryErrorCorrection, WmiVarToWord>},
    {"Model", Read<&Record::Model, WmiVarToText>},
    {"Name", Read<&Record::Name, WmiVarToText>},
    {"OtherIdentifyingInfo", Read<&Record::OtherIdentifyingInfo, WmiVarToText>},
    {"PartNumber", Read<&Record::PartNumber, WmiVarToText>},
    {"PoweredOn", Read<&Record::PoweredOn, WmiVarToBoolean>},
    {"Removable", Read<&Record::Removable, WmiVarToBoolean>},
    {"Replaceable", Read<&Record::Replaceable, WmiVarToBoolean>},
    {"SerialNumber", Read<&Record::SerialNumber, WmiVarToText>},
    {"SKU", Read<&Record::SKU, WmiVarToText>},
    {"Status", Read<&Record::Status, WmiVarToText>},
    {"Tag", Read<&Record::Tag, WmiVarToText>},
    {"Use", Read<&Record::Use, WmiVarToWord>},
    {"Version", Read<&Record::Version, WmiVarToText>},
    {"Weight", Read<&Record::Weight, WmiVarToDouble>},
    {"Width", Read<&Record::Width, WmiVarToDouble>},
}};

} // namespace

TWin32_PhysicalMemoryArray::TWin32_PhysicalMemoryArray(bool loadWmiData,
                                                       IAutomationFactory& automation)
    : TWmiClass("root\\CIMV2", "Win32_PhysicalMemoryArray", FieldNames(kFields), automation) {
    if (loadWmiData) {
        LoadWmiData();
    }
}

TWin32_PhysicalMemoryArray::TWin32_PhysicalMemoryArray(const TWmiClassSnapshot& snapshot)
    : TWmiClass("root\\CIMV2", "Win32_PhysicalMemoryArray", FieldNames(kFields), NoAutomation()) {
    LoadSnapshot(snapshot);
}

std::vector<TWmiProperty> TWin32_PhysicalMemoryArray::Properties() {
    return PropertiesOf(kFields);
}

void TWin32_PhysicalMemoryArray::SetCollectionIndex(std::int32_t index) {
    SelectFields(*this, kFields, index);
}
