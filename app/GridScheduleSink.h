#pragma once

// A string grid as the repayment engine's sink: the engine writes its rows
// straight into the grid's cells.

#include "calc/Schedule.h"
#include "framework/Grids.h"

class TGridScheduleSink : public calc::ScheduleSink {
  public:
    explicit TGridScheduleSink(TStringGrid& grid) : grid_(grid) {}

    int ColCount() const override { return grid_.ColCount(); }
    int RowCount() const override { return grid_.RowCount(); }
    void SetRowCount(int rows) override { grid_.SetRowCount(rows); }
    void SetCell(int col, int row, std::wstring_view text) override {
        grid_.SetCells(col, row, text);
    }

  private:
    TStringGrid& grid_;
};
