#include "framework/Callbacks.h"

#include "framework/Exceptions.h"
#include "framework/Forms.h"

#include <exception>
#include <iterator>

void ReportCallbackError(TObject* sender) noexcept {
    if (!Application) return;
    try {
        throw;
    } catch (const std::exception& e) {
        Application->HandleException(sender, e);
    } catch (...) {
        try {
            Application->HandleException(sender, Exception(L"Unknown error"));
        } catch (...) {
            // Not even the text could be made: nothing is left to report with.
        }
    }
}

namespace {

constexpr int kHookKinds[] = {WH_MSGFILTER, WH_GETMESSAGE};
thread_local TThreadHook* gHooks[std::size(kHookKinds)] = {};

} // namespace

template <int Slot> LRESULT CALLBACK TThreadHook::Proc(int code, WPARAM wParam, LPARAM lParam) {
    TThreadHook* hook = gHooks[Slot];
    if (code >= 0 && hook &&
        GuardedCall(nullptr, false, [&] { return hook->handler_(code, wParam, lParam); }))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TThreadHook::TThreadHook(int kind, THandler handler) : slot_(-1), handler_(std::move(handler)) {
    static const HOOKPROC procs[] = {&Proc<0>, &Proc<1>};
    for (int i = 0; i < int(std::size(kHookKinds)); ++i)
        if (kHookKinds[i] == kind) slot_ = i;
    if (slot_ < 0) throw EInvalidOperation(L"This kind of hook is not supported");
    if (gHooks[slot_]) throw EInvalidOperation(L"A hook of this kind is already installed");
    handle_.Reset(SetWindowsHookExW(kind, procs[slot_], nullptr, GetCurrentThreadId()));
    if (!handle_) throw EInvalidOperation(L"Cannot install a hook");
    gHooks[slot_] = this;
}

TThreadHook::~TThreadHook() {
    gHooks[slot_] = nullptr;
}
