#include "skin/SUIImagePanel.h"

#include "skin/SUIThemes.h"

#include "framework/Utils.h"

#include <cwctype>
#include <string>

const TEnumInfo& DrawStyleEnum() {
    static const TEnumInfo info{
        L"TsuiDrawStyle",
        {{L"suiNormal", suiNormal}, {L"suiStretch", suiStretch}, {L"suiTile", suiTile}}};
    return info;
}

namespace {

bool IsBlank(const std::wstring& text) {
    for (wchar_t c : text)
        if (!std::iswspace(c) && c != 0) return false;
    return true;
}

// Picture in a description: the bytes of a .bmp file, or the name of a
// bitmap resource of the executable.
void SetStoredPicture(TsuiCustomPanel& panel, const TValue& v) {
    if (v.kind == TValue::Kind::Binary) {
        if (v.bytes.empty()) {
            panel.Picture().Clear();
            return;
        }
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromBytes(v.bytes);
        panel.Picture().SetGraphic(std::move(bitmap));
    } else if (v.kind == TValue::Kind::String || v.kind == TValue::Kind::Ident) {
        panel.Picture().LoadFromResourceName(MainInstance(), v.text);
    } else if (v.kind == TValue::Kind::None) {
        panel.Picture().Clear();
    } else {
        throw EPropertyError(L"a bitmap { … } or a resource name is expected, not " + v.Describe());
    }
}

} // namespace

// ---------------------------------------------------------------------------

const TClassInfo& TsuiCustomPanel::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiCustomPanel>(L"TsuiCustomPanel", &TCustomPanel::StaticClass()).Build();
    return info;
}

TsuiCustomPanel::TsuiCustomPanel(TComponent* owner) : TCustomPanel(owner) {
    // The picture is the whole look; a bevel would only shrink the children's room.
    SetBevelOuter(bvNone);
    picture_.OnChange = [this](TPicture*) { PictureChanged(); };
}

TsuiCustomPanel::~TsuiCustomPanel() {
    picture_.OnChange = nullptr;
}

void TsuiCustomPanel::SetDrawStyle(TsuiDrawStyle style) {
    if (style == drawStyle_) return;
    drawStyle_ = style;
    Invalidate();
}

void TsuiCustomPanel::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    if (autoSize_) ApplyAutoSize();
}

void TsuiCustomPanel::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    SyncPictureTransparency();
    Invalidate();
}

void TsuiCustomPanel::SetCaptionPosition(int x, int y) {
    captionPos_ = POINT{x, y};
    Invalidate();
}

void TsuiCustomPanel::PictureChanged() {
    if (syncing_) return;
    if (autoSize_) ApplyAutoSize();
    SyncPictureTransparency();
    Invalidate();
}

void TsuiCustomPanel::ApplyAutoSize() {
    if (!picture_.HasGraphic()) return;
    const int w = picture_.Width(), h = picture_.Height();
    switch (Align()) {
    case alNone:
        SetBounds(Left(), Top(), w, h);
        break;
    case alLeft:
    case alRight:
        SetWidth(w);
        break;
    case alTop:
    case alBottom:
        SetHeight(h);
        break;
    case alClient:
        break;
    }
}

void TsuiCustomPanel::SyncPictureTransparency() {
    TGraphic* g = picture_.Graphic();
    if (!g || g->Transparent() == transparent_) return;
    // The graphic's change would come back to us as a picture change.
    syncing_ = true;
    g->SetTransparent(transparent_);
    syncing_ = false;
}

void TsuiCustomPanel::Resize() {
    TCustomPanel::Resize();
    Invalidate();
}

void TsuiCustomPanel::TextChanged() {
    Invalidate();
}

void TsuiCustomPanel::Paint() {
    const RECT r = ClientRect();
    TOffscreenPaint paint(buffer_, Canvas().Handle(), r.right - r.left, r.bottom - r.top);
    PaintTo(paint.Canvas());
}

bool TsuiCustomPanel::PaintKeptPicture(HDC dc) {
    TOffscreenBuffer& buffer = PaintBuffer();
    if (!KeptPictureIsCurrent(*this, buffer.Bitmap())) return false;
    buffer.CopyTo(dc);
    PaintControls(dc);
    return true;
}

void TsuiCustomPanel::PaintTo(TCanvas& canvas) {
    const RECT client = ClientRect();
    const RECT area{0, 0, client.right - client.left, client.bottom - client.top};
    if (transparent_) PaintParentBackground(canvas, *this);

    const TGraphic* graphic = picture_.HasGraphic() ? picture_.Graphic() : nullptr;
    // The buffer keeps the last paint's pixels, so an opaque panel starts
    // from its colour wherever the picture leaves room.
    if (!transparent_) FillControlRect(canvas, area, Color());
    if (graphic) {
        switch (drawStyle_) {
        case suiStretch:
            canvas.StretchDraw(area, *graphic);
            break;
        case suiTile:
            TileDraw(canvas, *graphic, area);
            break;
        case suiNormal:
            canvas.Draw(0, 0, *graphic);
            break;
        }
    }

    const std::wstring caption = Caption();
    captionRect_ = RECT{};
    if (IsBlank(caption)) return;
    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(bsClear);
    const SIZE extent = canvas.TextExtent(caption);
    if (captionPos_.x == -1 && captionPos_.y == -1) {
        RECT t = area;
        const UINT align = Alignment() == taCenter         ? DT_CENTER
                           : Alignment() == taRightJustify ? DT_RIGHT
                                                           : DT_LEFT;
        canvas.DrawText(caption, t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
        const int x = align == DT_CENTER  ? (area.right - extent.cx) / 2
                      : align == DT_RIGHT ? area.right - extent.cx
                                          : 0;
        const int y = (area.bottom - extent.cy) / 2;
        captionRect_ = RECT{x, y, x + extent.cx, y + extent.cy};
    } else {
        canvas.TextOut(captionPos_.x, captionPos_.y, caption);
        captionRect_ = RECT{captionPos_.x, captionPos_.y, captionPos_.x + extent.cx,
                            captionPos_.y + extent.cy};
    }
}

// ---------------------------------------------------------------------------

const TClassInfo& TsuiImagePanel::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiImagePanel>(L"TsuiImagePanel", &TsuiCustomPanel::StaticClass())
            .Custom(L"Picture", [](TsuiImagePanel& p, const TValue& v) { SetStoredPicture(p, v); })
            .Property(L"Transparent", &TsuiCustomPanel::Transparent,
                      &TsuiCustomPanel::SetTransparent)
            .Property(L"AutoSize", &TsuiCustomPanel::AutoSize, &TsuiCustomPanel::SetAutoSize)
            .Enum(L"DrawStyle", &TsuiCustomPanel::DrawStyle, &TsuiCustomPanel::SetDrawStyle,
                  DrawStyleEnum())
            .Build();
    return info;
}
