// The typed wrapper of the class Win32_PhysicalMemoryArray: one instance per memory array of the
// board, the group of slots that one memory controller serves.
#pragma once

#include "wmi/automation.h"
#include "wmi/wmi_class.h"
#include "wmi/wmi_conversions.h"

#include <cstdint>
#include <string>
#include <vector>

class TWin32_PhysicalMemoryArray final : public TWmiClass {
public:
    // With loadWmiData true the query runs at once, and the fields hold array 0 when there is one.
    TWin32_PhysicalMemoryArray(bool loadWmiData, IAutomationFactory& automation);
    // Filled from what an earlier load stored, without asking the service.
    explicit TWin32_PhysicalMemoryArray(const TWmiClassSnapshot& snapshot);

    void SetCollectionIndex(std::int32_t index) override;

    // The properties the record reads, in reading order, with the kind of field each fills.
    static std::vector<TWmiProperty> Properties();

    // Each field is named after the property that fills it, in the order they are read. The
    // package measures arrive as 32-bit reals and are held as 64-bit ones.
    std::string Caption;
    std::string CreationClassName;
    double Depth = 0;
    std::string Description;
    double Height = 0;
    bool HotSwappable = false;
    TDateTime InstallDate = 0;
    std::uint16_t Location = 0;
    std::string Manufacturer;
    std::uint32_t MaxCapacity = 0;   // kilobytes
    std::uint16_t MemoryDevices = 0; // slots
    std::uint16_t MemoryErrorCorrection = 0;
    std::string Model;
    std::string Name;
    std::string OtherIdentifyingInfo;
    std::string PartNumber;
    bool PoweredOn = false;
    bool Removable = false;
    bool Replaceable = false;
    std::string SerialNumber;
    std::string SKU;
    std::string Status;
    std::string Tag;
    std::uint16_t Use = 0;
    std::string Version;
    double Weight = 0;
    double Width = 0;
};
