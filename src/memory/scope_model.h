// The memory-load strip chart: what it draws, as data. The chart keeps nothing the program reads
// back; this model exists so that the drawing rules can be tested without a window.
#pragma once

#include <deque>
#include <vector>

class TScopeModel {
public:
    static constexpr int kWidth = 89;           // time steps across, one per pixel column
    static constexpr int kHeight = 65;          // vertical range 0..65 in pixels
    static constexpr int kStepsPerAdvance = 2;  // pixel columns scrolled per advance
    static constexpr int kBaseLinePercent = 80; // base line position, percent of the height
    static constexpr int kGridSize = 5;         // both grids, in steps or units of the range

    // The pixel row (from the top) of a value in percent: 0 is the bottom edge, 100 the top.
    static int RowOfValue(double percent);

    void SetValue(double percent) { value_ = percent; }
    // Scrolls the drawing left by one advance and appends the current value at the right edge.
    void Advance();

    int BaseLineRow() const { return RowOfValue(kBaseLinePercent); }
    // Rows of the horizontal grid lines: every kGridSize pixels from the base line up and down.
    std::vector<int> GridRows() const;
    // Columns of the vertical grid lines, which move left with the drawing.
    const std::deque<int>& GridColumns() const { return gridColumns_; }

    struct Point {
        int x;
        int y;
        bool operator==(const Point&) const = default;
    };
    // The line, oldest point first; the newest lies on the right edge.
    std::vector<Point> LinePoints() const;

    int Advances() const { return advances_; }

private:
    // A new vertical grid line every this many advances: the grid size over the steps per
    // advance, rounded half to even (5 / 2 = 2.5 gives 2).
    static constexpr int kAdvancesPerGridLine = 2;

    double value_ = 0;
    int advances_ = 0;
    std::deque<int> rows_; // newest last
    std::deque<int> gridColumns_;
};
