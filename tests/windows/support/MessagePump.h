#pragma once

// What every Windows test program needs to drive windows by messages:
// pumping, waiting for a condition, modifier keys held in the thread's key
// state, and keys, characters and clicks sent to a window.

#include "framework/Forms.h"

#include <chrono>
#include <functional>
#include <string>

inline void Pump() {
    Application->ProcessMessages();
}

// Pumps until done() or the time is up; true if done() came true.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 2000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Pump();
        Sleep(1);
    }
    return true;
}

// Holds Shift, Ctrl and/or Alt down in the thread's key state while it lives,
// so a sent key message reads them as the framework does.
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

inline void SendKey(HWND wnd, WORD key, bool shift = false, bool ctrl = false) {
    HeldKeys held(shift, ctrl);
    SendMessageW(wnd, WM_KEYDOWN, key, 1);
    SendMessageW(wnd, WM_KEYUP, key, LPARAM(0xC0000001));
}

// Characters as the message loop would deliver them after TranslateMessage.
inline void TypeChars(HWND wnd, const std::wstring& text) {
    for (wchar_t ch : text)
        SendMessageW(wnd, WM_CHAR, ch, 1);
}

inline void ClickAt(HWND wnd, int x, int y, WPARAM keys = 0) {
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

// A window's class name and its text, as the system holds them.
inline std::wstring ClassNameOf(HWND wnd) {
    wchar_t name[256] = {};
    GetClassNameW(wnd, name, 256);
    return name;
}
inline std::wstring WindowText(HWND wnd) {
    wchar_t text[256] = {};
    GetWindowTextW(wnd, text, 256);
    return text;
}

// The four messages of a double click, as Windows sends them.
inline void DoubleClickAt(HWND wnd, int x, int y) {
    ClickAt(wnd, x, y);
    SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}
