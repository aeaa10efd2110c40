#pragma once

// Helpers of the standard-control tests: a shown host form, message pumping,
// held modifier keys, typing and clicking through messages.

#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

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

// Holds modifier keys down in the thread's key state while it lives.
class HeldKeys {
  public:
    HeldKeys(bool shift, bool ctrl, bool alt = false) {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        if (shift) state[VK_SHIFT] = 0x80;
        if (ctrl) state[VK_CONTROL] = 0x80;
        if (alt) state[VK_MENU] = 0x80;
        SetKeyboardState(state);
    }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    ~HeldKeys() { SetKeyboardState(saved_); }

  private:
    BYTE saved_[256];
};

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
