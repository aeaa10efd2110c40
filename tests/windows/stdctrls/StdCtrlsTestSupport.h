#pragma once

// Helpers of the standard-control tests: a shown host form, message pumping,
// held modifier keys, typing and clicking through messages.

#include "framework/Forms.h"
#include "../support/MessagePump.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

// A form to put controls on; freed with everything it owns.
class HostForm {
  public:
    HostForm(int clientWidth = 400, int clientHeight = 300) : form_(new TForm(Application)) {
        form_->SetLeft(60);
        form_->SetTop(60);
        form_->SetClientWidth(clientWidth);
        form_->SetClientHeight(clientHeight);
    }
    HostForm(const HostForm&) = delete;
    HostForm& operator=(const HostForm&) = delete;
    ~HostForm() { form_->Free(); }
    TForm* operator->() const { return form_; }
    TForm* get() const { return form_; }
    // Returns once the form is the active window: a late activation would
    // move the focus (and close a dropped list) in the middle of a test.
    void Show() {
        form_->Show();
        SetForegroundWindow(form_->Handle());
        PumpUntil([this] { return form_->Active() && GetForegroundWindow() == form_->Handle(); });
        Pump();
    }

  private:
    TForm* form_;
};

template <class T> T* Make(TForm* parent, int left, int top, int width, int height) {
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

// Characters as the message loop would deliver them after TranslateMessage.
inline void TypeChars(HWND wnd, const std::wstring& text) {
    for (wchar_t ch : text)
        SendMessageW(wnd, WM_CHAR, ch, 1);
}

inline void SendKey(HWND wnd, WORD key, bool shift = false, bool ctrl = false) {
    HeldKeys held(shift, ctrl);
    SendMessageW(wnd, WM_KEYDOWN, key, 1);
    SendMessageW(wnd, WM_KEYUP, key, LPARAM(0xC0000001));
}

inline void ClickAt(HWND wnd, int x, int y, WPARAM keys = 0) {
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}
