#pragma once

// Entries from Windows into our code: window procedures, timers, menu
// callbacks and hooks. Each one runs the code behind it through GuardedCall,
// so no exception crosses the system's own code: what is thrown reaches
// Application->HandleException, the general error report, and the program
// goes on.

#include "framework/GdiHandles.h"

#include <windows.h>

#include <functional>
#include <utility>

class TObject;

// Reports the exception being handled; call it only inside a catch block.
void ReportCallbackError(TObject* sender) noexcept;

template <class Fn> void GuardedCall(TObject* sender, Fn&& fn) noexcept {
    try {
        std::forward<Fn>(fn)();
    } catch (...) {
        ReportCallbackError(sender);
    }
}

// The same for code with a result: fallback is what Windows gets after an error.
template <class Result, class Fn>
Result GuardedCall(TObject* sender, Result fallback, Fn&& fn) noexcept {
    try {
        return std::forward<Fn>(fn)();
    } catch (...) {
        ReportCallbackError(sender);
        return fallback;
    }
}

struct HookTraits {
    static void Free(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
};
using HookHandle = UniqueHandle<HHOOK, HookTraits>;

// A hook of this thread (WH_MSGFILTER or WH_GETMESSAGE) while the object
// lives. The handler runs guarded and answers true when it consumed the
// message. A system hook procedure is not told which hook it serves, so a
// thread has one hook of a kind at a time; a second is refused.
class TThreadHook {
  public:
    using THandler = std::function<bool(int code, WPARAM wParam, LPARAM lParam)>;
    TThreadHook(int kind, THandler handler);
    TThreadHook(const TThreadHook&) = delete;
    TThreadHook& operator=(const TThreadHook&) = delete;
    ~TThreadHook();

  private:
    template <int Slot> static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);

    int slot_;
    THandler handler_;
    HookHandle handle_;
};
