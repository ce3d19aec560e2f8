// Instances of the two memory classes as the service delivers them: 64-bit numbers as decimal
// text, 16- and 32-bit numbers as 32-bit integers.
#pragma once

#include "wmi/fake_wmi_service.h"

#include <cstdint>
#include <optional>
#include <string>

struct ModuleFixture {
    std::string deviceLocator;
    std::string capacity; // decimal bytes
    std::string manufacturer;
    std::string partNumber;
    std::int32_t memoryType = 0;
    std::int32_t speed = 0;
    std::string serialNumber;
    // The firmware's memory-device type, which only Windows 10 and later deliver.
    std::optional<std::int32_t> smbiosMemoryType = std::nullopt;
    // The speed the module runs at, which older Windows does not deliver.
    std::optional<std::int32_t> configuredClockSpeed = std::nullopt;
};

inline FakeInstance ModuleInstance(const ModuleFixture& module) {
    FakeInstance instance = {
        {"BankLabel", TVariant::Text("BANK 0")},
        {"Capacity", TVariant::Text(module.capacity)},
        {"DeviceLocator", TVariant::Text(module.deviceLocator)},
        {"Manufacturer", TVariant::Text(module.manufacturer)},
        {"MemoryType", TVariant::Int32(module.memoryType)},
        {"PartNumber", TVariant::Text(module.partNumber)},
        {"SerialNumber", TVariant::Text(module.serialNumber)},
        {"Speed", TVariant::Int32(module.speed)},
    };
    if (module.smbiosMemoryType) {
        instance.push_back({"SMBIOSMemoryType", TVariant::Int32(*module.smbiosMemoryType)});
    }
    if (module.configuredClockSpeed) {
        instance.push_back({"ConfiguredClockSpeed", TVariant::Int32(*module.configuredClockSpeed)});
    }
    return instance;
}

inline FakeInstance ArrayInstance(std::int32_t maxCapacityKb, std::int32_t memoryDevices) {
    return {
        {"Caption", TVariant::Text("Physical Memory Array")},
        {"MaxCapacity", TVariant::Int32(maxCapacityKb)},
        {"MemoryDevices", TVariant::Int32(memoryDevices)},
    };
}
