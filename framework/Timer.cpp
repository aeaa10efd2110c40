#include "framework/Timer.h"

#include "framework/Callbacks.h"
#include "framework/Forms.h"
#include "framework/Utils.h"

namespace {
const wchar_t kTimerClass[] = L"TTimerWindow";
} // namespace

const TClassInfo& TTimer::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TTimer>(L"TTimer", &TComponent::StaticClass())
            .Property(L"Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
            .Property(L"Interval", &TTimer::Interval, &TTimer::SetInterval)
            .Event(L"OnTimer", &TTimer::OnTimer)
            .Build();
    return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    static bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = TimerWndProc;
        wc.hInstance = MainInstance();
        wc.lpszClassName = kTimerClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    // A message-only window of its own: WM_TIMER arrives through the loop.
    window_ = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              MainInstance(), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Update();
}

TTimer::~TTimer() {
    if (window_) {
        KillTimer(window_, 1);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        auto* t = reinterpret_cast<TTimer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (t && t->enabled_ && t->OnTimer) GuardedCall(t, [t] { t->OnTimer(t); });
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TTimer::Update() {
    if (!window_) return;
    KillTimer(window_, 1);
    if (enabled_ && interval_ > 0 && !Loading()) SetTimer(window_, 1, interval_, nullptr);
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Update();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}
