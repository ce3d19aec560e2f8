#include "memory/scope_model.h"

#include <algorithm>
#include <cmath>

int TScopeModel::RowOfValue(double percent) {
    // The range 0..kHeight has one value more than the control has rows: the bottom edge is the
    // last row, so that a load of 0 stays inside the chart.
    const int row = kHeight - static_cast<int>(std::lround(percent * kHeight / 100.0));
    return std::clamp(row, 0, kHeight - 1);
}

void TScopeModel::Advance() {
    ++advances_;
    rows_.push_back(RowOfValue(value_));
    // Points older than the left edge are no longer drawn; one more keeps the segment that
    // enters from the left.
    const auto visiblePoints = static_cast<std::size_t>((kWidth - 1) / kStepsPerAdvance + 2);
    while (rows_.size() > visiblePoints) {
        rows_.pop_front();
    }

    for (int& column : gridColumns_) {
        column -= kStepsPerAdvance;
    }
    while (!gridColumns_.empty() && gridColumns_.front() < 0) {
        gridColumns_.pop_front();
    }
    if (advances_ % kAdvancesPerGridLine == 0) {
        gridColumns_.push_back(kWidth - 1);
    }
}

std::vector<int> TScopeModel::GridRows() const {
    std::vector<int> rows;
    const int base = BaseLineRow();
    for (int y = base % kGridSize; y <= kHeight; y += kGridSize) {
        if (y != base) {
            rows.push_back(y);
        }
    }
    return rows;
}

std::vector<TScopeModel::Point> TScopeModel::LinePoints() const {
    std::vector<Point> points;
    const int count = static_cast<int>(rows_.size());
    for (int i = 0; i < count; ++i) {
        const int x = kWidth - 1 - (count - 1 - i) * kStepsPerAdvance;
        points.push_back({x, rows_[static_cast<std::size_t>(i)]});
    }
    return points;
}
