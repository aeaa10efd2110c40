// The frame of the skinned edit, list box, memo and string grid: the system
// draws no border, and the control frames its client area itself.
#pragma once

#include "framework/Controls.h"

// Takes the system's border off, for the frame that FramedWndProc keeps.
inline void RemoveSystemBorder(TCreateParams& params) {
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
    params.Style &= ~WS_BORDER;
}

// Keeps `inset` pixels round the client area and frames them through
// paintFrame after the system has painted (scroll bars included), so the
// frame is never painted over. Everything else goes to callBase.
template <class CallBase, class PaintFrame>
void FramedWndProc(TMessage& m, int inset, CallBase&& callBase, PaintFrame&& paintFrame) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        callBase(m);
        // Both forms of the message start with the client rectangle.
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        InflateRect(r, -inset, -inset);
        if (r->right < r->left) r->right = r->left;
        if (r->bottom < r->top) r->bottom = r->top;
        return;
    }
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_ERASEBKGND:
        callBase(m);
        paintFrame();
        return;
    default:
        callBase(m);
    }
}
