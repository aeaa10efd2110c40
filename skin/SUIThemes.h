// The Win32 side of the style vocabulary: loading the built-in bitmaps,
// deciding where a control reads its look from, handing a style down a tree
// of controls, and the helpers that cut, stretch and frame the artwork.
#pragma once

#include "skin/SUIThemeTables.h"

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"

class TsuiFileTheme;

// What the skin reaches in every skinned component: the frame hands its
// style down through it, and a reloaded theme file reaches its users.
class IsuiStyled {
  public:
    virtual TsuiUIStyle UIStyle() const = 0;
    // Stores the style and re-skins.
    virtual void SetUIStyle(TsuiUIStyle style) = 0;
    virtual TsuiFileTheme* FileTheme() const = 0;
    virtual void SetFileTheme(TsuiFileTheme* theme) = 0;

  protected:
    ~IsuiStyled() = default;
};

// TsuiUIStyle by name, for published UIStyle properties.
const TEnumInfo& UIStyleEnum();

// ---------------------------------------------------------------------------
// Built-in bitmaps

// Loads the style's bitmap for element into target: whole with count == 0,
// otherwise frame index (from 1) of count equal-width frames. Nothing happens
// for a null target or an element that is no image. A resource the module
// lacks raises EGraphicResNotFound.
void GetBuiltInThemeBitmap(TsuiUIStyle style, int element, TBitmap* target, int index = 0,
                           int count = 0);

// A style's pictures are decoded once and shared while some control shows
// the style (style links count themselves in and out); they are dropped,
// GDI objects and all, when the last one leaves it.
void UseBuiltInStyleArtwork(TsuiUIStyle style);
void ReleaseBuiltInStyleArtwork(TsuiUIStyle style);
// Pictures decoded so far; flat while the shared ones serve.
int BuiltInArtworkDecodes();

// ---------------------------------------------------------------------------
// Resolution and propagation

// The UIStyle of the owner form's frame (see FindFormFrame); DeepBlue
// without one.
TsuiUIStyle GetOwnerFormStyle(const TComponent* owner);

// Sets FileTheme, then UIStyle, on every skinned child (nested ones too), so
// that each re-skins itself.
void ApplyStyleToChildren(TWinControl& container, TsuiUIStyle style, TsuiFileTheme* fileTheme);

// ---------------------------------------------------------------------------
// Bitmap and drawing helpers

// target := frame index (from 1) of count equal-width frames of source, full
// height. A source narrower than count gives a zero-width frame.
void ExtractBitmapFrame(const TBitmap& source, TBitmap& target, int count, int index);

// Draws bitmap into (0, 0, rect.right, rect.bottom): corners unscaled, edges
// and centre stretched. Corners are masked with clFuchsia only when
// transparent; the stretched parts always are.
void DrawNinePart(const TBitmap& bitmap, TCanvas& canvas, const RECT& rect, bool transparent);

// Three equal frames: the first and last unscaled at the ends of rect, the
// middle one stretched between them. The key colour is pixel (0, 0) with
// keyFromCorner, clFuchsia otherwise.
void DrawThreePart(const TBitmap& bitmap, TCanvas& canvas, const RECT& rect, bool keyFromCorner);

// Repeats picture from canvas position (0, 0) until rect's size is covered;
// rect's origin is not used.
void TileDraw(TCanvas& canvas, const TGraphic& picture, const RECT& rect);

// Lets the parent paint its background and content into canvas, shifted so
// that the control's top-left is canvas (0, 0). Nothing without a parent.
// A parent that keeps a current picture of itself hands that over instead.
void PaintParentBackground(TCanvas& canvas, TControl& control);

// A control that keeps the picture of its last whole paint off screen, so
// that its transparent children need not have it paint itself again for
// each of them.
class IsuiKeptPicture {
  public:
    // Copies the picture, with the windowless controls on it, into dc in the
    // control's client coordinates; false when the picture is not current.
    virtual bool PaintKeptPicture(HDC dc) = 0;

  protected:
    ~IsuiKeptPicture() = default;
};

// Whether picture shows control as it is: the client's size, and nothing
// waiting to be painted.
bool KeptPictureIsCurrent(TWinControl& control, const TBitmap& picture);

// Both edges inclusive.
bool PointInRect(POINT point, const RECT& rect);

// In place, width and height swap: left turns counter-clockwise, right clockwise.
void RotateBitmapLeft(TBitmap& bitmap);
void RotateBitmapRight(TBitmap& bitmap);

// One-pixel frame round the whole window (title and borders included), and
// another just inside it in innerColor when drawInner.
void FrameWindowEdge(TWinControl& control, TColor color, TColor innerColor, bool drawInner);

void FrameControlRect(TCanvas& canvas, const RECT& rect, TColor color);
void FillControlRect(TCanvas& canvas, const RECT& rect, TColor color);

// The desktop work area (the screen less the task bar).
void GetWorkArea(RECT& rect);
RECT GetWorkArea();

// Left, Top, Width, Height, in that order.
void SetControlBounds(TControl& control, const RECT& rect);

// Whether a skinned frame draws form as the active window.
bool IsFormActive(const TForm* form);
