#pragma once

// Menu items built in code, as a window's description would build them.

#include "framework/Menus.h"

#include <string>

// A new item with caption and shortcut, added under parent (which owns it).
inline TMenuItem* NewItem(TMenuItem* parent, const std::wstring& caption, TShortCut sc = scNone) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    item->SetShortCut(sc);
    parent->Add(item);
    return item;
}
