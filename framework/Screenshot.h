#pragma once

// Pictures of windows and bitmaps for a person to look at: PNG (or BMP)
// files under build/screens.

#include "framework/Graphics.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The build tree's screens folder: from the executable's folder upwards, the
// first folder that holds a "build" folder gives <it>/build/screens; without
// one, "screens" beside the executable. Created if missing.
std::filesystem::path ScreensDirectory();
// The same search, starting at startFolder instead of the executable's folder.
std::filesystem::path FindScreensDirectory(const std::filesystem::path& startFolder);

// What the window shows on screen now, frame included unless clientOnly;
// pending paints are done first.
void CaptureWindow(HWND wnd, TBitmap& target, bool clientOnly = false);
// What the display shows inside r (screen coordinates), whichever windows
// are there, as a person sees it at this moment.
void CaptureScreenArea(const RECT& r, TBitmap& target);
// The window drawn by itself into the bitmap (PrintWindow), for windows that
// are covered or off screen.
void PrintWindowImage(HWND wnd, TBitmap& target, bool clientOnly = false);

std::vector<std::uint8_t> EncodeBitmapPng(const TBitmap& bitmap);
void SaveBitmapPng(const TBitmap& bitmap, const std::filesystem::path& file);
void SaveBitmapBmp(const TBitmap& bitmap, const std::filesystem::path& file);

// name has no extension; an empty folder means ScreensDirectory(). Returns the
// file written (name + ".png").
std::filesystem::path SaveScreenshot(const TBitmap& bitmap, const std::wstring& name,
                                     const std::filesystem::path& folder = {});
std::filesystem::path SaveWindowScreenshot(HWND wnd, const std::wstring& name,
                                           const std::filesystem::path& folder = {});
