#pragma once

// Hosts, paints and pixel counts shared by the button and group tests.

#include "../support/MessagePump.h"
#include "../support/Painted.h"

#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIRadioGroup.h"

#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace button_test {

constexpr TColor kFormColor = 0x00E7E7E7;

// Lets the message loop run for about ms milliseconds.
inline void PumpFor(int ms) {
    const DWORD until = GetTickCount() + DWORD(ms);
    while (int(until - GetTickCount()) > 0) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

// A shown form in the top-left corner of the display, away from the pointer.
inline TOwned<TForm> ShownForm(int clientWidth = 320, int clientHeight = 200) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(bsSingle);
    form->SetBounds(8, 8, clientWidth + 20, clientHeight + 40);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->SetColor(kFormColor);
    form->Show();
    // Let the display's late focus news about earlier windows arrive now,
    // not in the middle of a test that watches the focus.
    SetForegroundWindow(form->Handle());
    PumpFor(40);
    return form;
}

// A control on parent at (left, top), in its own size unless one is given.
template <class T> T* Put(TWinControl& parent, int left, int top, int width = 0, int height = 0) {
    auto* c = new T(parent.Owner() ? parent.Owner() : &parent);
    c->SetParent(&parent);
    c->SetLeft(left);
    c->SetTop(top);
    if (width > 0) c->SetBounds(left, top, width, height);
    return c;
}

inline int CountPixels(const TBitmap& b, const std::function<bool(TColor)>& which,
                       RECT area = RECT{0, 0, -1, -1}) {
    if (area.right < 0) area = RECT{0, 0, b.Width(), b.Height()};
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (which(b.Pixel(x, y))) ++n;
    return n;
}

inline int Brightness(TColor c) {
    return int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
}

inline int CountDifferent(const TBitmap& a, const TBitmap& b, RECT area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) ++n;
    return n;
}

inline LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

} // namespace button_test
