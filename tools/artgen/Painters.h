// Shared pieces of the styles: control shapes drawn from a palette.
#pragma once

#include "tools/artgen/Artwork.h"
#include "tools/artgen/Raster.h"

#include <functional>

namespace artgen {

enum class State { Normal, Hot, Pressed };
enum class TitleGlyph { ControlBox, Help, Max, Restore, Min, Close };

struct Face {
    Rgba top, bottom, border;
};

// Colours of one style's small controls.
struct Palette {
    Rgba back;       // what the controls sit on
    Rgba scrollBack; // scroll-bar track
    Face normal, hot, pressed, disabled;
    Rgba mark, markDisabled;        // check marks, dots, arrows
    Rgba checkedTop, checkedBottom; // gel of a checked box, when the style has one
    bool checkedGel = false;
    float radius = 2;   // corner radius of boxes and buttons
    float gloss = 0.5f; // strength of the top highlight
};

// Rows of a background as a function of y only (title bars, menus).
using RowPaint = std::function<Rgba(float y)>;
Paint FromRows(RowPaint rows);
// Stops given in pixel rows instead of fractions.
RowPaint Rows(std::vector<std::pair<float, Rgba>> stops);

// A glossy face inside shape: gradient, upper highlight, border.
void GlassFace(Image& img, const Sdf& shape, float y0, float y1, const Face& face, float gloss,
               float glossEnd);
void DrawTitleGlyph(Image& img, TitleGlyph glyph, float size, float dx, float dy, Rgba colour,
                    float weight = 1.0f);
void DrawArrow(Image& img, float cx, float cy, float size, int direction, Rgba colour);
void DrawCheckMark(Image& img, float x0, float y0, float size, Rgba colour, float weight);

// Rounded corners too small to leave an empty corner pixel still need the key
// there, where the skin samples it.
void KeyTopCorners(Bitmap& b);
void KeyBottomCorners(Bitmap& b);

Bitmap CheckBoxFrame(const Palette& p, int w, int h, int box, bool checked, bool enabled,
                     bool masked);
Bitmap RadioFrame(const Palette& p, int w, int h, int box, bool checked, bool enabled);
Bitmap ScrollArrowFrame(const Palette& p, int w, int h, bool up, State s);
std::vector<Bitmap> ThumbPieces(const Palette& p, int piece, int h);
Bitmap TabFrame(const Palette& p, int w, int h, bool active, Rgba activeBottom);
Bitmap TabLine(const Palette& p, int w, int h, Rgba fill);
Bitmap MoreScrollButton(const Palette& p, int w, int h, bool right, bool hot);
Bitmap ProgressBar(const Palette& p, Rgba accent, int w, int h);
Bitmap TrackBar(const Palette& p, int w, int h);
Bitmap TrackSlider(const Palette& p, int w, int h, bool vertical);
Bitmap SideHandle(const Palette& p, int w, int h);
Bitmap SideBar(const Palette& p, int w, int h);

// Helpers for assembling a style.
std::vector<Bitmap> FourStates(const std::function<Bitmap(bool checked, bool enabled)>& f);
Bitmap Background(int w, int h, const Paint& paint);

} // namespace artgen
