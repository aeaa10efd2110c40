#pragma once

// What a long run of the program needs around it: the journal of its last
// steps, a watchdog that reports a hung window, the process's counts, and a
// few checks and names for the report.

#include "framework/Controls.h"
#include "framework/Exceptions.h"
#include "framework/Utils.h"

#include "MessagePump.h"

#include <psapi.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace long_run {

// The steps the journal keeps.
constexpr size_t kKeptSteps = 20;
// A step taking longer than this hangs (a 1200-period export takes well under a second).
constexpr auto kStepLimit = std::chrono::seconds(30);

inline long long FromEnvironment(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const long long n = std::strtoll(text, &end, 10);
    return *end == 0 ? n : fallback;
}

inline double PrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    // Wine leaves PrivateUsage 0 and counts the private bytes as pagefile use.
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return double(bytes) / (1024 * 1024);
}

inline long ThreadWindows() {
    long n = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM count) {
            ++*reinterpret_cast<long*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

inline bool Ours(HWND wnd) {
    return wnd && GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId();
}

inline std::string ClassOf(HWND wnd) {
    wchar_t name[128] = {};
    GetClassNameW(wnd, name, 128);
    const TWinControl* control = TWinControl::FindControl(wnd);
    std::string text = WideToUtf8(name);
    if (control && !control->Name().empty()) text += " " + WideToUtf8(control->Name());
    return text;
}

inline std::string Quoted(const std::wstring& text) {
    std::wstring shown;
    for (wchar_t ch : text)
        shown += ch == L'\b' ? std::wstring(L"\\b") : std::wstring(1, ch);
    if (shown.size() > 40) shown = shown.substr(0, 37) + L"...";
    return "\"" + WideToUtf8(shown) + "\"";
}

// A number a person can read: all of it a finite number in the locale's
// format, blanks around it allowed; or what typing leaves on the way to one
// (nothing, a lone sign or separator).
inline bool FiniteText(std::wstring text) {
    const size_t first = text.find_first_not_of(L' ');
    text = first == std::wstring::npos
               ? L""
               : text.substr(first, text.find_last_not_of(L' ') - first + 1);
    if (text.empty() || text == L"-" || text == std::wstring(1, DecimalSeparator())) return true;
    for (wchar_t& ch : text)
        if (ch == DecimalSeparator()) ch = L'.';
    wchar_t* end = nullptr;
    const double v = std::wcstod(text.c_str(), &end);
    return end && *end == 0 && std::isfinite(v) &&
           text.find_first_of(L"nNiI") == std::wstring::npos;
}

// The files of a folder with their sizes and write times.
inline std::map<std::wstring, std::pair<unsigned long long, unsigned long long>>
FolderListing(const std::wstring& folder) {
    std::map<std::wstring, std::pair<unsigned long long, unsigned long long>> files;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return files;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const unsigned long long size =
            (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        const unsigned long long time =
            (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
            data.ftLastWriteTime.dwLowDateTime;
        files[data.cFileName] = {size, time};
    } while (FindNextFileW(h, &data));
    FindClose(h);
    return files;
}

// One entry per step, with what happened inside it; read by the watchdog too.
class Journal {
  public:
    void Start(const std::string& step) {
        std::lock_guard<std::mutex> lock(mutex_);
        steps_.push_back(step);
        if (steps_.size() > kKeptSteps) steps_.pop_front();
    }
    void Note(const std::string& detail) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!steps_.empty()) steps_.back() += "; " + detail;
    }
    std::string Last() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return steps_.empty() ? std::string() : steps_.back();
    }
    std::string Text() const {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string text;
        for (const std::string& step : steps_)
            text += "  " + step + "\n";
        return text;
    }

  private:
    mutable std::mutex mutex_;
    std::deque<std::string> steps_;
};

// Asks the window for WM_NULL from another thread, as Windows does to tell a
// hung window, and ends the process with a report when one step never ends.
class Watchdog {
  public:
    Watchdog(HWND wnd, std::function<std::string()> report)
        : wnd_(wnd), report_(std::move(report)),
          wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), thread_([this] { Run(); }) {}
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() {
        stop_ = true;
        SetEvent(wake_);
        thread_.join();
        CloseHandle(wake_);
    }
    void StepStarted() {
        stepStart_ = std::chrono::steady_clock::now().time_since_epoch().count();
        busy_ = true;
    }
    void StepEnded() { busy_ = false; }
    bool WindowAnswers() {
        done_ = false;
        asked_ = true;
        SetEvent(wake_);
        PumpUntil([this] { return done_.load(); }, 10000);
        return done_ && answered_;
    }

  private:
    void Run() {
        while (!stop_) {
            WaitForSingleObject(wake_, 500);
            if (asked_.exchange(false)) {
                DWORD_PTR result = 0;
                answered_ =
                    SendMessageTimeoutW(wnd_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) != 0;
                done_ = true;
            }
            const auto started = std::chrono::steady_clock::duration(stepStart_.load());
            if (busy_ &&
                std::chrono::steady_clock::now().time_since_epoch() - started > kStepLimit) {
                // Where the window's thread is stuck: a move loop, a menu, a capture.
                GUITHREADINFO info{};
                info.cbSize = sizeof info;
                GetGUIThreadInfo(GetWindowThreadProcessId(wnd_, nullptr), &info);
                std::fprintf(
                    stderr, "stuck: flags %#lx, capture %p, focus %p, active %p, button %s\n",
                    info.flags, static_cast<void*>(info.hwndCapture),
                    static_cast<void*>(info.hwndFocus), static_cast<void*>(info.hwndActive),
                    (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ? "down" : "up");
                std::fprintf(stderr, "%s", report_().c_str());
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    HWND wnd_;
    std::function<std::string()> report_;
    HANDLE wake_;
    std::atomic<bool> stop_{false}, asked_{false}, done_{false}, answered_{false}, busy_{false};
    std::atomic<long long> stepStart_{0};
    std::thread thread_;
};

} // namespace long_run
