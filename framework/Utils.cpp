#include "framework/Utils.h"

#include "numbers/NumberText.h"
#include "framework/ModalHook.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <limits>

wchar_t DecimalSeparator() {
    wchar_t buf[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 0 && buf[0]) return buf[0];
    return L'.';
}

static bool TryStrToFloatSep(const std::wstring& text, double& value, wchar_t sep) {
    auto parsed = numbers::ParseNumber(text, sep);
    if (!parsed) return false;
    value = *parsed;
    return true;
}

double StrToFloat(const std::wstring& text, wchar_t decimalSeparator) {
    double v;
    if (!TryStrToFloatSep(text, v, decimalSeparator))
        throw EConvertError(L"'" + text + L"' is not a valid floating point value");
    return v;
}

double StrToFloat(const std::wstring& text) {
    return StrToFloat(text, DecimalSeparator());
}

bool TryStrToFloat(const std::wstring& text, double& value) {
    return TryStrToFloatSep(text, value, DecimalSeparator());
}

// Leading blanks, a sign, decimal digits or $/0x hexadecimal; 32-bit range.
bool TryStrToInt(const std::wstring& text, int& value) {
    size_t i = 0;
    while (i < text.size() && text[i] == L' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    int base = 10;
    if (i < text.size() && text[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' &&
               (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    long long acc = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        int d;
        if (c >= L'0' && c <= L'9')
            d = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f')
            d = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F')
            d = c - L'A' + 10;
        else
            return false;
        acc = acc * base + d;
        if (acc > 0x100000000LL) return false;
    }
    if (negative) acc = -acc;
    // Hexadecimal spells the unsigned 32-bit patterns too ($FFFFFFFF = -1).
    if (base == 16 && !negative && acc > std::numeric_limits<int>::max() && acc <= 0xFFFFFFFFLL)
        acc -= 0x100000000LL;
    if (acc < std::numeric_limits<int>::min() || acc > std::numeric_limits<int>::max())
        return false;
    value = int(acc);
    return true;
}

int StrToInt(const std::wstring& text) {
    int v;
    if (!TryStrToInt(text, v)) throw EConvertError(L"'" + text + L"' is not a valid integer value");
    return v;
}

int StrToIntDef(const std::wstring& text, int fallback) {
    int v;
    return TryStrToInt(text, v) ? v : fallback;
}

std::wstring FloatToStr(double value, wchar_t sep) {
    if (std::isnan(value)) return L"NAN";
    if (std::isinf(value)) return value > 0 ? L"INF" : L"-INF";
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.15G", value);
    std::wstring s = buf;
    // C writes 1E+20 and 1E-05; we write 1E20 and 1E-5.
    size_t e = s.find(L'E');
    if (e != std::wstring::npos) {
        std::wstring mant = s.substr(0, e), exp = s.substr(e + 1);
        bool neg = !exp.empty() && exp[0] == L'-';
        if (!exp.empty() && (exp[0] == L'+' || exp[0] == L'-')) exp.erase(0, 1);
        while (exp.size() > 1 && exp[0] == L'0')
            exp.erase(0, 1);
        s = mant + L"E" + (neg ? L"-" : L"") + exp;
    }
    for (auto& c : s)
        if (c == L'.') c = sep;
    if (s == L"-0") s = L"0";
    return s;
}

std::wstring FloatToStr(double value) {
    return FloatToStr(value, DecimalSeparator());
}

std::wstring IntToStr(long long value) {
    return std::to_wstring(value);
}

bool SetClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool ok = false;
    if (mem) {
        if (void* p = GlobalLock(mem)) {
            std::memcpy(p, text.c_str(), bytes);
            GlobalUnlock(mem);
            ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
        }
        if (!ok) GlobalFree(mem); // the clipboard owns it only on success
    }
    CloseClipboard();
    return ok;
}

std::wstring GetClipboardText() {
    if (!OpenClipboard(nullptr)) return {};
    std::wstring out;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            out = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return out;
}

void Beep() {
    MessageBeep(0);
}

int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    TModalRequest request;
    request.kind = TModalKind::MessageBox;
    request.text = text;
    request.caption = caption;
    request.flags = flags;
    request.owner = GetActiveWindow();
    if (NotifyModalStarted(request)) return request.result;
    return MessageBoxW(request.owner, text.c_str(), caption.c_str(), flags);
}

std::wstring ExeDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

HINSTANCE MainInstance() {
    return GetModuleHandleW(nullptr);
}

std::wstring SystemErrorMessage(DWORD code) {
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring s = n && buf ? std::wstring(buf, n) : L"System error " + std::to_wstring(code);
    if (buf) LocalFree(buf);
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' '))
        s.pop_back();
    return s;
}
