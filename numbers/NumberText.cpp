#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace numbers {

namespace {

struct MaskShape {
    int minIntegerDigits = 0; // '0's before the decimal position
    int decimals = 0;         // placeholders after it
    int minDecimals = 0;      // up to the last '0' after it
};

MaskShape ReadMask(std::wstring_view mask) {
    MaskShape shape;
    bool afterPoint = false;
    int placeholder = 0;
    for (wchar_t c : mask) {
        if (c == L'.' && !afterPoint) {
            afterPoint = true;
            placeholder = 0;
        } else if (c == L'0' || c == L'#') {
            ++placeholder;
            if (afterPoint) {
                shape.decimals = placeholder;
                if (c == L'0') shape.minDecimals = placeholder;
            } else if (c == L'0') {
                ++shape.minIntegerDigits;
            }
        }
    }
    return shape;
}

std::wstring Widen(const std::string& s, wchar_t sep) {
    std::wstring out;
    out.reserve(s.size());
    for (char c : s)
        out.push_back(c == '.' ? sep : static_cast<wchar_t>(c));
    return out;
}

// 15 significant digits, trailing zeros dropped, exponent as E<n>.
std::wstring GeneralText(double value, wchar_t sep) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14E", value);
    std::string s(buf);
    std::size_t e = s.find('E');
    std::string mantissa = s.substr(0, e);
    int exponent = std::atoi(s.c_str() + e + 1);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    mantissa.push_back('E');
    mantissa.append(std::to_string(exponent));
    return Widen(mantissa, sep);
}

} // namespace

std::wstring FormatMask(double value, std::wstring_view mask, wchar_t sep) {
    if (std::isnan(value)) return L"NAN";
    if (std::isinf(value)) return value < 0 ? L"-INF" : L"INF";
    if (std::fabs(value) >= 1e18) return GeneralText(value, sep);

    const MaskShape shape = ReadMask(mask);

    // 18 significant digits as a digit string with a decimal exponent.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17e", std::fabs(value));
    std::string s(buf);
    std::size_t e = s.find('e');
    int exponent = std::atoi(s.c_str() + e + 1);
    std::string sig(1, s[0]); // 18 digits: d.ddd… × 10^exponent
    sig.append(s, 2, e - 2);

    // Lay the digits out as integer part and enough decimals, then round the
    // decimals away from zero at the mask's position.
    const int intDigits = exponent + 1;
    std::string digits; // integer digits followed by shape.decimals + 1 decimals
    std::string intPart;
    std::string fracPart;
    if (intDigits > 0) {
        for (int i = 0; i < intDigits; ++i)
            intPart.push_back(i < 18 ? sig[static_cast<std::size_t>(i)] : '0');
        for (int i = intDigits; i < 18; ++i)
            fracPart.push_back(sig[static_cast<std::size_t>(i)]);
    } else {
        intPart = "0";
        fracPart.assign(static_cast<std::size_t>(-intDigits), '0');
        fracPart += sig;
    }
    bool roundUp = false;
    if (static_cast<int>(fracPart.size()) > shape.decimals) {
        roundUp = fracPart[static_cast<std::size_t>(shape.decimals)] >= '5';
        fracPart.resize(static_cast<std::size_t>(shape.decimals));
    }
    while (static_cast<int>(fracPart.size()) < shape.decimals)
        fracPart.push_back('0');
    std::string all = intPart + fracPart;
    if (roundUp) {
        int i = static_cast<int>(all.size()) - 1;
        for (; i >= 0; --i) {
            if (all[static_cast<std::size_t>(i)] == '9') {
                all[static_cast<std::size_t>(i)] = '0';
            } else {
                ++all[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0) all.insert(all.begin(), '1');
    }
    std::string integer = all.substr(0, all.size() - fracPart.size());
    std::string fraction = all.substr(all.size() - fracPart.size());
    while (integer.size() > 1 && integer.front() == '0')
        integer.erase(integer.begin());
    if (integer == "0" && shape.minIntegerDigits == 0 && !fraction.empty()) integer.clear();
    while (static_cast<int>(integer.size()) < shape.minIntegerDigits)
        integer.insert(integer.begin(), '0');
    while (static_cast<int>(fraction.size()) > shape.minDecimals && fraction.back() == '0')
        fraction.pop_back();

    const bool isZero = integer.find_first_not_of('0') == std::string::npos &&
                        fraction.find_first_not_of('0') == std::string::npos;
    std::wstring out;
    if (value < 0 && !isZero) out.push_back(L'-');
    for (char c : integer)
        out.push_back(static_cast<wchar_t>(c));
    if (!fraction.empty()) {
        out.push_back(sep);
        for (char c : fraction)
            out.push_back(static_cast<wchar_t>(c));
    }
    if (out.empty() || out == L"-") out = L"0";
    return out;
}

std::optional<double> ParseNumber(std::wstring_view text, wchar_t sep) {
    std::size_t pos = 0;
    std::size_t end = text.size();
    while (pos < end && text[pos] == L' ')
        ++pos;
    while (end > pos && text[end - 1] == L' ')
        --end;
    if (pos == end) return std::nullopt;

    bool negative = false;
    if (text[pos] == L'+' || text[pos] == L'-') {
        negative = text[pos] == L'-';
        ++pos;
    }
    std::string intDigits;
    std::string fracDigits;
    bool sawSeparator = false;
    for (; pos < end; ++pos) {
        wchar_t c = text[pos];
        if (c >= L'0' && c <= L'9') {
            (sawSeparator ? fracDigits : intDigits).push_back(static_cast<char>(c));
        } else if (c == sep && !sawSeparator) {
            sawSeparator = true;
        } else {
            break;
        }
    }
    if (intDigits.empty() && fracDigits.empty() && !sawSeparator) return std::nullopt;

    long long exponent = 0;
    if (pos < end && (text[pos] == L'e' || text[pos] == L'E')) {
        ++pos;
        bool expNegative = false;
        if (pos < end && (text[pos] == L'+' || text[pos] == L'-')) {
            expNegative = text[pos] == L'-';
            ++pos;
        }
        if (pos == end || text[pos] < L'0' || text[pos] > L'9') return std::nullopt;
        for (; pos < end && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
            if (exponent < 100000) exponent = exponent * 10 + (text[pos] - L'0');
        }
        if (expNegative) exponent = -exponent;
    }
    if (pos != end) return std::nullopt;

    // Rebuild in the portable form that from_chars reads.
    std::string normal = intDigits.empty() ? std::string("0") : intDigits;
    if (!fracDigits.empty()) {
        normal.push_back('.');
        normal.append(fracDigits);
    }
    normal.push_back('e');
    normal.append(std::to_string(exponent));
    double value = 0;
    auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Decide between overflow (refused) and underflow (reads as zero)
        // from the position of the first significant digit.
        std::string all = intDigits + fracDigits;
        std::size_t first = all.find_first_not_of('0');
        if (first == std::string::npos)
            value = 0;
        else {
            long long magnitude = static_cast<long long>(intDigits.size()) -
                                  static_cast<long long>(first) - 1 + exponent;
            if (magnitude > 0) return std::nullopt;
            value = 0;
        }
    } else if (ec != std::errc() || ptr != normal.data() + normal.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

bool AcceptNumberKey(wchar_t key, std::wstring_view mask, std::wstring_view text,
                     int selectionStart, wchar_t sep) {
    if (key >= L'0' && key <= L'9') return true;
    if (mask.find(L'.') != std::wstring_view::npos && key == sep &&
        text.find(sep) == std::wstring_view::npos)
        return true;
    if (key == 8) return true;
    return mask.find(L'-') != std::wstring_view::npos && selectionStart == 0 && key == L'-' &&
           text.find(L'-') == std::wstring_view::npos;
}

} // namespace numbers
