// A grid, result boxes and a message list that record what the engine does,
// in the order it does it.
#pragma once

#include "calc/Money.h"
#include "calc/Schedule.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace calc_test {

struct Harness {
    struct Grid final : calc::ScheduleSink {
        explicit Grid(Harness& h) : h(h), cells(13, std::vector<std::wstring>(6)) {}
        int ColCount() const override { return 6; }
        int RowCount() const override { return rowCount; }
        // Like a real string grid, cells of rows cut off survive in storage
        // and come back when the grid grows again.
        void SetRowCount(int rows) override {
            h.log.push_back(L"rows " + std::to_wstring(rows));
            rowCount = rows;
            if (cells.size() < static_cast<std::size_t>(rows))
                cells.resize(static_cast<std::size_t>(rows), std::vector<std::wstring>(6));
        }
        int rowCount = 13;
        void SetCell(int col, int row, std::wstring_view text) override {
            if (row < 0 || row >= RowCount() || col < 0 || col >= 6)
                throw std::out_of_range("cell outside the grid");
            ++h.cellWrites;
            if (!text.empty() && h.logCells) h.log.push_back(L"cell");
            cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
        }
        Harness& h;
        std::vector<std::vector<std::wstring>> cells;
    };
    struct Box final : calc::ResultBox {
        Box(Harness& h, std::wstring name) : h(h), name(std::move(name)) {}
        void SetValue(double v) override {
            value = v;
            h.log.push_back(name + L"=" + calc::AmountText(v));
        }
        void SetEnabled(bool e) override {
            enabled = e;
            h.log.push_back(name + (e ? L" on" : L" off"));
        }
        Harness& h;
        std::wstring name;
        double value = 0;
        bool enabled = true;
    };

    Harness()
        : grid(*this), first(*this, L"first"), total(*this, L"total"),
          interest(*this, L"interest") {}

    // Runs one calculation with the given inputs and the harness's plan.
    bool Instalment() { return Calc(true); }
    bool Principal() { return Calc(false); }

    bool Calc(bool instalment) {
        in.plan = plan;
        calc::ScheduleOutputs out{grid, first, total, interest, [this](const std::wstring& m) {
                                      messages.push_back(m);
                                      log.push_back(L"message");
                                  }};
        return instalment ? calc::CalcEqualInstalment(in, out) : calc::CalcEqualPrincipal(in, out);
    }

    void AddPlan(int year, int month, const std::wstring& amount) {
        plan.push_back(calc::PlanItemText(year, month, amount));
    }

    const std::wstring& Cell(int col, int row) const {
        return grid.cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(col));
    }
    std::vector<std::wstring> Row(int row) const {
        return grid.cells.at(static_cast<std::size_t>(row));
    }

    calc::ScheduleInputs in;
    std::vector<std::wstring> plan;
    std::vector<std::wstring> messages;
    std::vector<std::wstring> log;
    bool logCells = false;
    int cellWrites = 0;
    Grid grid;
    Box first, total, interest;
};

inline calc::ScheduleInputs Fixed(double loan, double periods, double rate, int year, int month) {
    calc::ScheduleInputs in;
    in.loan = loan;
    in.periods = periods;
    in.mode = calc::RateMode::Fixed;
    in.fixedRate = rate;
    in.firstYear = year;
    in.firstMonth = month;
    return in;
}

inline calc::ScheduleInputs Floating(double loan, double periods, std::vector<double> rates,
                                     int year, int month) {
    calc::ScheduleInputs in;
    in.loan = loan;
    in.periods = periods;
    in.mode = calc::RateMode::Floating;
    for (std::size_t j = 0; j < rates.size(); ++j)
        in.rates[j] = rates[j];
    in.firstYear = year;
    in.firstMonth = month;
    return in;
}

using Cells = std::vector<std::wstring>;

} // namespace calc_test
