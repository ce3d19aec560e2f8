#include "memory/scope_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ScopeModel, ValuesMapFromTheBottomEdgeToTheTopEdge) {
    struct Case {
        double percent;
        int row;
    };
    // 0 % lies on the last row (64), not on row 65 below the chart.
    const Case cases[] = {{0, 64}, {100, 0}, {80, 13}, {50, 32}, {1, 64}, {99, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(TScopeModel::RowOfValue(c.percent), c.row) << c.percent << "%";
    }
    EXPECT_EQ(TScopeModel().BaseLineRow(), 13);
}

TEST(ScopeModel, HorizontalGridIsCountedFromTheBaseLine) {
    EXPECT_EQ(TScopeModel().GridRows(),
              (std::vector<int>{3, 8, 18, 23, 28, 33, 38, 43, 48, 53, 58, 63}));
}

TEST(ScopeModel, EachAdvanceScrollsTwoColumnsAndAddsTheValueAtTheRightEdge) {
    TScopeModel scope;
    scope.SetValue(0);
    scope.Advance();
    scope.SetValue(100);
    scope.Advance();
    EXPECT_EQ(scope.Advances(), 2);
    EXPECT_EQ(scope.LinePoints(), (std::vector<TScopeModel::Point>{{86, 64}, {88, 0}}));
}

TEST(ScopeModel, VerticalGridLinesAppearEverySecondAdvanceAndMoveLeft) {
    TScopeModel scope;
    scope.Advance();
    EXPECT_TRUE(scope.GridColumns().empty());
    scope.Advance();
    EXPECT_EQ(scope.GridColumns(), (std::deque<int>{88}));
    scope.Advance();
    scope.Advance();
    EXPECT_EQ(scope.GridColumns(), (std::deque<int>{84, 88}));
    for (int i = 0; i < 100; ++i) {
        scope.Advance();
    }
    for (int column : scope.GridColumns()) {
        EXPECT_GE(column, 0);
    }
    EXPECT_EQ(scope.GridColumns().size(), 23u);
}

TEST(ScopeModel, KeepsOnlyThePointsThatReachIntoTheChart) {
    TScopeModel scope;
    for (int i = 0; i < 200; ++i) {
        scope.Advance();
    }
    const auto points = scope.LinePoints();
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.back().x, 88);
    EXPECT_LT(points.front().x, 0);
    EXPECT_GE(points[1].x, 0);
}

} // namespace
