#pragma once

// Helpers shared by the grid, tool-bar and status-bar tests: a shown host
// form, message pumping, key states for Shift and Ctrl, and pixel probes.

#include "framework/Forms.h"
#include "../support/MessagePump.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

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
