#pragma once

// State and helpers shared by the control sources (Controls.cpp,
// WinControl.cpp); not for use outside them.

#include "framework/Controls.h"

// The control under the mouse (for enter and leave) and the one holding the
// mouse capture; a control clears them when it goes away.
extern TControl* gMouseControl;
extern TControl* gCaptureControl;

inline bool IsGraphic(const TControl* c) {
    return dynamic_cast<const TWinControl*>(c) == nullptr;
}
