#pragma once

// Helpers shared by the grid, tool-bar and status-bar tests: the shared host
// form and input, mouse positions.

#include "../support/HostForm.h"

#include <gtest/gtest.h>

inline LPARAM PointParam(int x, int y) {
    return MAKELPARAM(x, y);
}

inline POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
