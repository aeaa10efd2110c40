#pragma once

// What every Windows test program needs to drive windows by messages:
// pumping, waiting for a condition, and modifier keys held in the thread's
// key state.

#include "framework/Forms.h"

#include <chrono>
#include <functional>

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
