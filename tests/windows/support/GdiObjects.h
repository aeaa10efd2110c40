#pragma once

// The process's GDI objects. Wine answers GetGuiResources with 0; there the
// handle slots that name a live object are counted instead.

#include <windows.h>

inline DWORD GdiObjects() {
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return n;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++n;
    return n;
}
