#include "memory/memory_monitor.h"

#include "util/byte_size.h"
#include "util/os_error.h"

#include <gtest/gtest.h>

namespace {

class FakeMemory final : public IMemoryStatusSource {
public:
    MemoryStatus QueryMemoryStatus() const override {
        ++statusQueries;
        if (fail) {
            throw OSError(8, "Not enough memory resources are available");
        }
        return status;
    }
    std::optional<std::uint64_t> InstalledMemoryKilobytes() const override {
        ++installedQueries;
        return installed;
    }

    bool fail = false;
    MemoryStatus status{42, 8589934592, 4589934592};
    std::optional<std::uint64_t> installed = 16777216;
    mutable int statusQueries = 0;
    mutable int installedQueries = 0;
};

class MemoryMonitorTest : public ::testing::Test {
protected:
    void SetUp() override { saved = SizeUnitNames(); }
    void TearDown() override { SetSizeUnitNames(saved); }

    SizeUnitNameList saved;
    MemoryView state;
    TScopeModel scope;
    FakeMemory memory;
};

TEST_F(MemoryMonitorTest, ATickBeforeStartUpShowsTheInitialUnitNames) {
    Mem_tmrTimer(state, scope, memory, ".");
    EXPECT_EQ(state.phyusedLabel, "已用: 3.73 Gb.");
    EXPECT_EQ(state.phytotLabel, "总计: 16 Gb.");
}

TEST_F(MemoryMonitorTest, ATickDrawsTheLoadAndLabelsBothFigures) {
    SetSizeUnitNames({"B", "KB", "MB", "GB", "TB"});
    Mem_tmrTimer(state, scope, memory, ".");
    EXPECT_EQ(state.phyusedLabel, "已用: 3.73 GB");
    EXPECT_EQ(state.phytotLabel, "总计: 16 GB");
    EXPECT_EQ(scope.Advances(), 1);
    EXPECT_EQ(scope.LinePoints().back().y, TScopeModel::RowOfValue(42));
}

// Two system queries per tick, and the figures use the separator the window passes.
TEST_F(MemoryMonitorTest, ATickAsksEachFigureOnceAndUsesTheGivenSeparator) {
    SetSizeUnitNames({"B", "KB", "MB", "GB", "TB"});
    struct Case {
        bool installedKnown;
        const char* separator;
        const char* used;
        const char* total;
    };
    const Case cases[] = {
        {true, ",", "已用: 3,73 GB", "总计: 16 GB"},
        {false, ".", "已用: 3.73 GB", "总计: 8 GB"},
        {true, "\xA3\xAE",
         "已用: 3\xA3\xAE"
         "73 GB",
         "总计: 16 GB"}, // a full-width point
    };
    for (const Case& c : cases) {
        FakeMemory counted;
        if (!c.installedKnown) {
            counted.installed.reset();
        }
        Mem_tmrTimer(state, scope, counted, c.separator);
        EXPECT_EQ(counted.statusQueries, 1);
        EXPECT_EQ(counted.installedQueries, 1);
        EXPECT_EQ(state.phyusedLabel, c.used);
        EXPECT_EQ(state.phytotLabel, c.total);
    }
}

TEST_F(MemoryMonitorTest, WithoutAnInstalledFigureTheTotalShowsTheManagedMemory) {
    SetSizeUnitNames({"B", "KB", "MB", "GB", "TB"});
    memory.installed.reset();
    Mem_tmrTimer(state, scope, memory, ".");
    EXPECT_EQ(state.phytotLabel, "总计: 8 GB");
}

TEST_F(MemoryMonitorTest, AFailedQueryRaisesAndLeavesEverythingAsItWas) {
    SetSizeUnitNames({"B", "KB", "MB", "GB", "TB"});
    Mem_tmrTimer(state, scope, memory, ".");
    const MemoryView before = state;

    memory.fail = true;
    EXPECT_THROW(Mem_tmrTimer(state, scope, memory, "."), OSError);
    EXPECT_EQ(state, before);
    EXPECT_EQ(scope.Advances(), 1);

    memory.fail = false;
    Mem_tmrTimer(state, scope, memory, ".");
    EXPECT_EQ(scope.Advances(), 2);
}

} // namespace
