#include "memory/module_scan.h"

#include "log/log.h"
#include "memory/module_decoding.h"
#include "memory/module_pages.h"
#include "wmi/win32_physical_memory.h"
#include "wmi/win32_physical_memory_array.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr int kInfo = 1;
constexpr std::int64_t kKilobytesPerGigabyte = 1024 * 1024;
constexpr std::size_t kPartNumberRow = 3;

std::string Decimal(std::int64_t number) {
    return std::to_string(number);
}

std::int64_t WholeGigabytes(std::int64_t bytes) {
    return bytes / 1024 / 1024 / 1024;
}

bool IsNotAvailable(const std::string& vendor) {
    return vendor.size() == 3 && (vendor[0] == 'N' || vendor[0] == 'n') && vendor[1] == '/' &&
           (vendor[2] == 'A' || vendor[2] == 'a');
}

// The seventh row: the speed the module runs at, and the rated one when it differs.
std::string RunningSpeedText(std::uint32_t configured, std::uint32_t rated) {
    std::string text = Decimal(configured) + " MT/s";
    if (rated > 0 && rated != configured) {
        text += " (额定 " + Decimal(rated) + " MT/s)";
    }
    return text;
}

// The list view of module k: its six rows, and a seventh when the service gives the speed it
// runs at, each row logged as it is added. The log carries the module's own values, not the
// "N/A" that replaces them on screen.
ModuleListView FillModule(const TWin32_PhysicalMemory& module, int k, TKLog* log) {
    ModuleListView list;
    const std::string prefix = Decimal(k) + "\t";
    const auto addRow = [&](const std::string& caption, const std::string& value) {
        list.rows.push_back({caption, value});
    };
    const auto logRow = [&](const std::string& caption, const std::string& text) {
        AddLine(log, prefix + caption + "\t" + text, kInfo);
    };

    list.columnCaptions = {"参数", "值"};

    addRow("插槽名称", module.DeviceLocator);
    logRow("插槽名称", module.DeviceLocator);

    const std::string capacity = Decimal(WholeGigabytes(module.Capacity)) + " GB";
    addRow("容量", capacity);
    logRow("容量", capacity);

    const std::string vendor = DecodeVendor(module.Manufacturer);
    addRow("制造商", vendor);
    logRow("制造商", vendor + " (" + module.Manufacturer + ")");
    const bool vendorUnknown = IsNotAvailable(vendor);

    addRow("型号", vendorUnknown ? "N/A" : module.PartNumber);
    logRow("型号", module.PartNumber);

    const std::string type =
        ModuleTypeText(module.MemoryType, module.Speed, module.SMBIOSMemoryType);
    addRow("类型", type);
    logRow("类型", Decimal(module.MemoryType));
    logRow("速度", Decimal(module.Speed));
    logRow("类型", type);

    // Without the speed it runs at (older Windows, or firmware that leaves it out) the list
    // keeps its six rows.
    const bool running = module.ConfiguredClockSpeed > 0;
    const std::string speed =
        running ? RunningSpeedText(module.ConfiguredClockSpeed, module.Speed) : "";
    if (running) {
        logRow("运行速度", speed);
    }

    addRow("序列号", vendorUnknown ? "N/A" : module.SerialNumber);
    logRow("序列号", module.SerialNumber);

    if (running) {
        addRow("运行速度", speed);
    }
    return list;
}

} // namespace

std::string ModuleTypeText(std::uint16_t memoryType, std::uint32_t speed,
                           std::uint32_t smbiosMemoryType) {
    const std::string type =
        MemoryTypeName(memoryType, static_cast<std::int32_t>(speed), smbiosMemoryType);
    if (speed == 0) {
        return type;
    }
    const std::uint32_t rating = speed * 8u; // wraps as the 32-bit product does
    if (type == "DDR2" || type == "DDR3" || type == "DDR4" || type == "DDR5") {
        return type + " / PC" + type[3] + "-" + Decimal(rating);
    }
    if (type == "DDR") {
        return type + " / PC-" + Decimal(rating);
    }
    return type + " @ " + Decimal(speed) + "MHz";
}

bool HasPartNumber(const SlotPanelState& panel) {
    if (panel.rows.size() <= kPartNumberRow) {
        return false;
    }
    const std::string& value = panel.rows[kPartNumberRow].value;
    return std::any_of(value.begin(), value.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 32; });
}

bool ScanModules(MemoryView& state, IAutomationFactory& automation, TKLog* log) {
    return ScanModules(state, TakeMemorySnapshot(automation), log);
}

bool ScanModules(MemoryView& state, const MemorySnapshot& snapshot, TKLog* log) {
    TWin32_PhysicalMemory modules(snapshot.modules);
    TWin32_PhysicalMemoryArray arrays(snapshot.arrays);

    std::int64_t maxGB = 0;
    std::int64_t slotCount = 0;
    for (std::int32_t i = 0; i < arrays.GetCount(); ++i) {
        arrays.SetCollectionIndex(i);
        maxGB += arrays.MaxCapacity / kKilobytesPerGigabyte;
        slotCount += arrays.MemoryDevices;
    }
    state.slotsLabel = "插槽数量: " + Decimal(slotCount);
    state.maxmemLabel = "最大内存: " + Decimal(maxGB) + " GB";

    // The panels follow the array read last; the labels above sum all of them. A failed array
    // query counts as no array, even when its first selection filled some fields before failing.
    const int devices = arrays.GetCount() > 0 ? arrays.MemoryDevices : 0;
    state.boardSlots = devices;
    for (int n = 0; n < kSlotPanelCount; ++n) {
        state.slots[n].enabled = devices > n;
    }
    if (devices < 3) {
        state.narrowed = true;
    }

    std::int64_t installedBytes = 0;
    state.modules.clear();
    for (std::int32_t k = 0; k < modules.GetCount(); ++k) {
        modules.SetCollectionIndex(k);
        installedBytes += modules.Capacity;
        AddLine(log, "正在扫描插槽 #" + Decimal(k), kInfo);
        ModuleListView& list = state.modules.emplace_back(FillModule(modules, k, log));
        if (k < kSlotPanelCount) {
            // The first four fill their panels as they are read; a later error leaves them so.
            SlotPanelState& panel = state.slots[static_cast<std::size_t>(k)];
            panel.columnCaptions = list.columnCaptions;
            panel.rows = list.rows;
        }
    }

    // The panels without a module, the empty-slot and search buttons: the first page.
    state.pageCount = ModulePageCount(state.modules.size());
    ShowModulePage(state, 0);

    const std::int64_t installedGB = WholeGigabytes(installedBytes);
    state.curmemLabel = "当前内存: " + Decimal(installedGB) + " GB";
    state.maxmemVisible = installedGB <= maxGB;
    return modules.GetCount() >= 0;
}
