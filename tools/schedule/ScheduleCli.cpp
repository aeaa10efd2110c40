#include "ScheduleCli.h"

#include "calc/Money.h"
#include "numbers/NumberText.h"
#include "calc/Schedule.h"

#include <map>
#include <optional>
#include <stdexcept>

namespace schedule_cli {

namespace {

const char* const kUsage =
    "usage: schedule --method instalment|principal --loan L --periods N --first YYYY-MM\n"
    "                (--rate R | --rates R1,R2,...) [--prepay YYYY-MM=AMOUNT]...\n"
    "                [--decimal-separator C]\n"
    "Prints the repayment schedule as the main window's grid shows it (UTF-8,\n"
    "tab-separated), then #totals and #enabled lines; messages as #message lines.\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::wstring Widen(const std::string& s) {
    std::wstring w;
    for (unsigned char c : s)
        w.push_back(static_cast<wchar_t>(c));
    return w;
}

// Command-line numbers always use '.', whatever the separator chosen for the
// texts.
double Number(const std::string& option, const std::string& text) {
    auto v = numbers::ParseNumber(Widen(text), L'.');
    if (!v) throw UsageError(option + ": not a number: " + text);
    return *v;
}

std::pair<int, int> YearMonth(const std::string& option, const std::string& text) {
    if (text.size() != 7 || text[4] != '-')
        throw UsageError(option + ": expected YYYY-MM: " + text);
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u})
        if (text[i] < '0' || text[i] > '9')
            throw UsageError(option + ": expected YYYY-MM: " + text);
    int year = std::stoi(text.substr(0, 4));
    int month = std::stoi(text.substr(5, 2));
    if (month < 1 || month > 12) throw UsageError(option + ": month must be 01 to 12: " + text);
    return {year, month};
}

class TextGrid final : public calc::ScheduleSink {
  public:
    TextGrid() : rows_(13, std::vector<std::wstring>(calc::kScheduleColumns)) {
        const auto& headers = calc::ScheduleHeaders();
        for (int c = 0; c < calc::kScheduleColumns; ++c)
            rows_[0][static_cast<std::size_t>(c)] = headers[static_cast<std::size_t>(c)];
    }
    int ColCount() const override { return calc::kScheduleColumns; }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows) override {
        rows_.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows),
                     std::vector<std::wstring>(calc::kScheduleColumns));
    }
    void SetCell(int col, int row, std::wstring_view text) override {
        if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount())
            throw std::logic_error("cell outside the grid");
        rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
    }
    std::string Text() const {
        std::string out;
        for (const auto& row : rows_) {
            std::size_t used = row.size();
            while (used > 0 && row[used - 1].empty())
                --used;
            for (std::size_t c = 0; c < used; ++c) {
                if (c > 0) out += '\t';
                out += ToUtf8(row[c]);
            }
            out += '\n';
        }
        return out;
    }

  private:
    std::vector<std::vector<std::wstring>> rows_;
};

class Box final : public calc::ResultBox {
  public:
    void SetValue(double v) override { value = v; }
    void SetEnabled(bool e) override { enabled = e; }
    double value = 0;
    bool enabled = true;
};

} // namespace

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto cp = static_cast<unsigned long>(text[i]);
        // Join UTF-16 surrogate pairs where wchar_t is 16 bits wide.
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
            auto lo = static_cast<unsigned long>(text[i + 1]);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

Result Run(const std::vector<std::string>& args) {
    Result result;
    try {
        std::optional<std::string> method;
        std::optional<double> loan, periods, rate;
        std::optional<std::pair<int, int>> first;
        std::optional<std::vector<double>> rates;
        std::vector<std::pair<std::pair<int, int>, double>> prepay;
        wchar_t sep = L'.';

        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& option = args[i];
            if (option == "--help" || option == "-h") throw UsageError("");
            if (i + 1 >= args.size()) throw UsageError(option + ": missing value");
            const std::string& value = args[++i];
            if (option == "--method") {
                if (value != "instalment" && value != "principal")
                    throw UsageError("--method: instalment or principal");
                method = value;
            } else if (option == "--loan") {
                loan = Number(option, value);
            } else if (option == "--periods") {
                periods = Number(option, value);
            } else if (option == "--first") {
                first = YearMonth(option, value);
            } else if (option == "--rate") {
                rate = Number(option, value);
            } else if (option == "--rates") {
                std::vector<double> list;
                std::size_t start = 0;
                while (true) {
                    std::size_t comma = value.find(',', start);
                    list.push_back(Number(option, value.substr(start, comma - start)));
                    if (comma == std::string::npos) break;
                    start = comma + 1;
                }
                if (list.size() > calc::kRateTableSize)
                    throw UsageError("--rates: at most 30 rates");
                rates = list;
            } else if (option == "--prepay") {
                std::size_t eq = value.find('=');
                if (eq == std::string::npos) throw UsageError("--prepay: expected YYYY-MM=AMOUNT");
                prepay.push_back(
                    {YearMonth(option, value.substr(0, eq)), Number(option, value.substr(eq + 1))});
            } else if (option == "--decimal-separator") {
                if (value.size() != 1 || (value[0] >= '0' && value[0] <= '9'))
                    throw UsageError("--decimal-separator: one character, not a digit");
                sep = static_cast<wchar_t>(static_cast<unsigned char>(value[0]));
            } else {
                throw UsageError("unknown option " + option);
            }
        }
        if (!method || !loan || !periods || !first)
            throw UsageError("--method, --loan, --periods and --first are required");
        if (rate.has_value() == rates.has_value())
            throw UsageError("give either --rate or --rates");

        calc::ScheduleInputs in;
        in.loan = *loan;
        in.periods = *periods;
        in.firstYear = first->first;
        in.firstMonth = first->second;
        in.decimalSeparator = sep;
        if (rate) {
            in.mode = calc::RateMode::Fixed;
            in.fixedRate = *rate;
        } else {
            in.mode = calc::RateMode::Floating;
            for (std::size_t j = 0; j < rates->size(); ++j)
                in.rates[j] = calc::RoundToMultiple((*rates)[j], -3);
        }
        // The plan list holds one item per month, sorted, the amount as the
        // "0.00" field shows it; a later --prepay for a month replaces it.
        std::map<std::wstring, std::wstring> byMonth;
        for (const auto& [ym, amount] : prepay) {
            std::wstring item =
                calc::PlanItemText(ym.first, ym.second, numbers::FormatMask(amount, L"0.00", sep));
            byMonth[calc::DateText(ym.first, ym.second)] = item;
        }
        std::vector<std::wstring> plan;
        for (auto& [key, item] : byMonth)
            plan.push_back(item);
        in.plan = plan;

        TextGrid grid;
        Box firstBox, total, interest;
        std::string messages;
        calc::ScheduleOutputs out{grid, firstBox, total, interest,
                                  [&messages](const std::wstring& text) {
                                      messages += "#message\t" + ToUtf8(text) + "\n";
                                  }};
        const bool ran = *method == "instalment" ? calc::CalcEqualInstalment(in, out)
                                                 : calc::CalcEqualPrincipal(in, out);
        if (!ran) {
            result.out = messages;
            result.exitCode = 1;
            return result;
        }
        result.out = grid.Text() + messages;
        result.out += "#totals\t" + ToUtf8(numbers::FormatMask(firstBox.value, L"0.00", sep)) +
                      "\t" + ToUtf8(numbers::FormatMask(total.value, L"0.00", sep)) + "\t" +
                      ToUtf8(numbers::FormatMask(interest.value, L"0.00", sep)) + "\n";
        result.out += std::string("#enabled\t") + (firstBox.enabled ? "1" : "0") + "\n";
    } catch (const UsageError& e) {
        result.exitCode = 2;
        result.out.clear();
        result.err = std::string(e.what()).empty() ? kUsage : std::string(e.what()) + "\n" + kUsage;
    }
    return result;
}

} // namespace schedule_cli
