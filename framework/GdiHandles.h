#pragma once

// Owners of GDI objects, device contexts, icons and image lists. Each owner
// is move-only: a copy would free its handle twice. Borrowed handles stay raw.

#include <windows.h>
#include <commctrl.h>

#include <utility>

template <class Handle, class Traits> class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr; }
    Handle Release() noexcept { return std::exchange(h_, nullptr); }
    void Reset(Handle h = nullptr) noexcept {
        Handle old = std::exchange(h_, h);
        if (old) Traits::Free(old);
    }

  private:
    Handle h_ = nullptr;
};

struct GdiObjectTraits {
    static void Free(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct IconTraits {
    static void Free(HICON h) noexcept { ::DestroyIcon(h); }
};
struct ImageListTraits {
    static void Free(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
};
struct MemoryDCTraits {
    static void Free(HDC h) noexcept { ::DeleteDC(h); }
};

using FontHandle = UniqueHandle<HFONT, GdiObjectTraits>;
using BrushHandle = UniqueHandle<HBRUSH, GdiObjectTraits>;
using PenHandle = UniqueHandle<HPEN, GdiObjectTraits>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectTraits>;
using RegionHandle = UniqueHandle<HRGN, GdiObjectTraits>;
using IconHandle = UniqueHandle<HICON, IconTraits>;
using ImageListHandle = UniqueHandle<HIMAGELIST, ImageListTraits>;
// A DC from CreateCompatibleDC / CreateDC, freed with DeleteDC.
using MemoryDC = UniqueHandle<HDC, MemoryDCTraits>;

// A DC obtained from GetDC or GetWindowDC, given back with ReleaseDC.
class WindowDC {
  public:
    WindowDC() = default;
    // nonClient = true takes the whole window (GetWindowDC) instead of the client area.
    explicit WindowDC(HWND wnd, bool nonClient = false) noexcept
        : wnd_(wnd), dc_(nonClient ? ::GetWindowDC(wnd) : ::GetDC(wnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    WindowDC(WindowDC&& o) noexcept
        : wnd_(std::exchange(o.wnd_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& o) noexcept {
        if (this != &o) {
            Reset();
            wnd_ = std::exchange(o.wnd_, nullptr);
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    ~WindowDC() { Reset(); }

    HDC Get() const noexcept { return dc_; }
    HWND Window() const noexcept { return wnd_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void Reset() noexcept {
        if (dc_) ::ReleaseDC(wnd_, dc_);
        dc_ = nullptr;
        wnd_ = nullptr;
    }

  private:
    HWND wnd_ = nullptr;
    HDC dc_ = nullptr;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class PaintDC {
  public:
    explicit PaintDC(HWND wnd) noexcept : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(wnd_, &ps_); }

    HDC Get() const noexcept { return dc_; }
    const PAINTSTRUCT& Info() const noexcept { return ps_; }

  private:
    HWND wnd_;
    HDC dc_ = nullptr;
    PAINTSTRUCT ps_{};
};

// Selects an object into a DC and puts the previous one back on destruction,
// so the object can be freed safely afterwards.
class ObjectSelection {
  public:
    ObjectSelection(HDC dc, HGDIOBJ obj) noexcept
        : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ObjectSelection(const ObjectSelection&) = delete;
    ObjectSelection& operator=(const ObjectSelection&) = delete;
    ~ObjectSelection() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC now, RestoreDC on destruction.
class SavedDCState {
  public:
    explicit SavedDCState(HDC dc) noexcept : dc_(dc), id_(::SaveDC(dc)) {}
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;
    ~SavedDCState() {
        if (id_ != 0) ::RestoreDC(dc_, id_);
    }

  private:
    HDC dc_;
    int id_;
};
