#pragma once

// Helpers shared by the grid, tool-bar and status-bar tests: a shown host
// form, message pumping, key states for Shift and Ctrl, and pixel probes.

#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

inline void Pump() {
    Application->ProcessMessages();
}

inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 2000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Pump();
        Sleep(1);
    }
    return true;
}

// A visible form to put controls on; freed with everything it owns.
class HostForm {
  public:
    HostForm(int clientWidth, int clientHeight) : form_(new TForm(Application)) {
        form_->SetName(L"HostForm");
        form_->SetLeft(40);
        form_->SetTop(40);
        form_->SetClientWidth(clientWidth);
        form_->SetClientHeight(clientHeight);
    }
    HostForm(const HostForm&) = delete;
    HostForm& operator=(const HostForm&) = delete;
    ~HostForm() { form_->Free(); }
    TForm* operator->() const { return form_; }
    TForm& operator*() const { return *form_; }
    TForm* get() const { return form_; }
    void Show() {
        form_->Show();
        SetForegroundWindow(form_->Handle());
        Pump();
    }

  private:
    TForm* form_;
};

// Holds Shift and/or Ctrl down in the thread's key state while it lives, so
// a sent WM_KEYDOWN reads them as the framework does.
class HeldKeys {
  public:
    HeldKeys(bool shift, bool ctrl) {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        if (shift) state[VK_SHIFT] = 0x80;
        if (ctrl) state[VK_CONTROL] = 0x80;
        SetKeyboardState(state);
    }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    ~HeldKeys() { SetKeyboardState(saved_); }

  private:
    BYTE saved_[256];
};

inline void SendKey(HWND wnd, WORD key, bool shift = false, bool ctrl = false) {
    HeldKeys held(shift, ctrl);
    SendMessageW(wnd, WM_KEYDOWN, key, 1);
    SendMessageW(wnd, WM_KEYUP, key, LPARAM(0xC0000001));
}

inline LPARAM PointParam(int x, int y) {
    return MAKELPARAM(x, y);
}

inline POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
