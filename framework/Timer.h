#pragma once

// A message-based timer on the GUI thread: OnTimer runs from the message loop.

#include "framework/Component.h"
#include "framework/Controls.h"

#include <windows.h>

class TTimer : public TComponent {
  public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Milliseconds; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    void Loaded() override;

    TNotifyEvent OnTimer;

  private:
    static LRESULT CALLBACK TimerWndProc(HWND, UINT, WPARAM, LPARAM);
    void Update();

    unsigned interval_ = 1000;
    bool enabled_ = true;
    HWND window_ = nullptr;
};
