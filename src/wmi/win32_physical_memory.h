// The typed wrapper of the class Win32_PhysicalMemory: one instance per installed memory module.
#pragma once

#include "wmi/automation.h"
#include "wmi/wmi_class.h"
#include "wmi/wmi_conversions.h"

#include <cstdint>
#include <string>
#include <vector>

class TWin32_PhysicalMemory final : public TWmiClass {
public:
    // With loadWmiData true the query runs at once, and the fields hold module 0 when there is one.
    TWin32_PhysicalMemory(bool loadWmiData, IAutomationFactory& automation);
    // Filled from what an earlier load stored, without asking the service.
    explicit TWin32_PhysicalMemory(const TWmiClassSnapshot& snapshot);

    void SetCollectionIndex(std::int32_t index) override;

    // The properties the record reads, in reading order, with the kind of field each fills.
    static std::vector<TWmiProperty> Properties();

    // Each field is named after the property that fills it, in the order they are read.
    std::uint32_t Attributes = 0; // the rank; absent before Windows 10
    std::string BankLabel;
    std::int64_t Capacity = 0; // bytes; the service delivers it as decimal text
    std::string Caption;
    // The speed the module runs at, in MT/s; absent on older Windows.
    std::uint32_t ConfiguredClockSpeed = 0;
    std::uint32_t ConfiguredVoltage = 0; // millivolts; absent before Windows 10
    std::string CreationClassName;
    std::uint16_t DataWidth = 0;
    std::string Description;
    std::string DeviceLocator;
    std::uint16_t FormFactor = 0;
    bool HotSwappable = false;
    TDateTime InstallDate = 0;
    std::uint16_t InterleaveDataDepth = 0;
    std::uint32_t InterleavePosition = 0;
    std::string Manufacturer;
    std::uint16_t MemoryType = 0;
    std::string Model;
    std::string Name;
    std::string OtherIdentifyingInfo;
    std::string PartNumber;
    std::uint32_t PositionInRow = 0;
    bool PoweredOn = false;
    bool Removable = false;
    bool Replaceable = false;
    std::string SerialNumber;
    std::string SKU;
    std::uint32_t SMBIOSMemoryType =
        0;                   // the firmware's memory-device type; absent before Windows 10
    std::uint32_t Speed = 0; // MHz
    std::string Status;
    std::string Tag;
    std::uint16_t TotalWidth = 0;
    std::uint16_t TypeDetail = 0;
    std::string Version;
};
