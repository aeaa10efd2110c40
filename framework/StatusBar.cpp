#include "framework/StatusBar.h"

#include "framework/FormReader.h"
#include "framework/GraphicsInternal.h"
#include "framework/SystemPaint.h"

#include <algorithm>

const TEnumInfo& StatusPanelStyleEnum() {
    static const TEnumInfo e =
        MakeEnum(L"TStatusPanelStyle", {{L"psText", psText}, {L"psOwnerDraw", psOwnerDraw}});
    return e;
}

// ---------------------------------------------------------------------------
// Panels

const TClassInfo& TStatusPanel::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TStatusPanel>(L"TStatusPanel", &TObject::StaticClass())
            .Property(L"Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
            .Property(L"Text", &TStatusPanel::Text, &TStatusPanel::SetText)
            .Enum(L"Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment,
                  AlignmentEnum())
            .Enum(L"Style", &TStatusPanel::Style, &TStatusPanel::SetStyle, StatusPanelStyleEnum())
            .Build();
    return info;
}

void TStatusPanel::SetWidth(int w) {
    w = std::clamp(w, 0, 100000);
    if (w == width_) return;
    width_ = w;
    Changed(true);
}

void TStatusPanel::SetText(const std::wstring& t) {
    if (t == text_) return;
    text_ = t;
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle s) {
    if (s == style_) return;
    style_ = s;
    Changed(false);
}

int TStatusPanel::Index() const {
    for (int i = 0; i < collection_->Count(); ++i)
        if (&collection_->Items(i) == this) return i;
    return -1;
}

void TStatusPanel::Changed(bool layout) {
    collection_->Changed(layout);
}

TStatusPanel& TStatusPanels::Add() {
    items_.push_back(std::make_unique<TStatusPanel>(this));
    Changed(true);
    return *items_.back();
}

void TStatusPanels::Delete(int index) {
    if (index < 0 || index >= Count()) throw EInvalidOperation(L"List index out of bounds");
    items_.erase(items_.begin() + index);
    Changed(true);
}

void TStatusPanels::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed(true);
}

void TStatusPanels::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0) {
        bool layout = pendingLayout_;
        pendingLayout_ = false;
        bar_->UpdatePanels(layout);
    }
}

void TStatusPanels::Changed(bool layout) {
    if (updating_ > 0) {
        pendingLayout_ = pendingLayout_ || layout;
        return;
    }
    // Texts alone are cheap; a new width or count lays the parts out again.
    bar_->UpdatePanels(layout);
}

// ---------------------------------------------------------------------------
// TStatusBar

const TClassInfo& TStatusBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TStatusBar>(L"TStatusBar", &TWinControl::StaticClass())
            .Custom(L"Panels",
                    [](TStatusBar& bar, const TValue& v) {
                        if (v.kind != TValue::Kind::Collection || !v.items)
                            throw EPropertyError(
                                L"a collection < item ... end > is expected, not " + v.Describe());
                        TStatusPanels& panels = bar.Panels();
                        panels.BeginUpdate();
                        try {
                            panels.Clear();
                            for (const auto& item : *v.items)
                                ApplyStoredProperties(panels.Add(), item);
                        } catch (...) {
                            panels.EndUpdate();
                            throw;
                        }
                        panels.EndUpdate();
                    })
            .Property(L"SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
            .Property(L"SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
            .Property(L"SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip)
            .Event(L"OnDrawPanel", &TStatusBar::OnDrawPanel)
            .Build();
    return info;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    // The system control handles the mouse (and the grip) itself: no capture of ours.
    SetControlStyle(TControlStyle{csAcceptsControls, csClickEvents, csDoubleClicks});
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
    SetColor(clBtnFace);
}

TStatusBar::~TStatusBar() {
    MarkDestroying();
    DestroyHandle(); // while WndProc still belongs to us
}

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEW);
    // We place the bar ourselves; children on it must not be painted over.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | WS_CLIPCHILDREN;
    if (sizeGrip_) params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    SendColor();
    UpdatePanels(true);
}

void TStatusBar::SetSimplePanel(bool v) {
    if (v == simplePanel_) return;
    simplePanel_ = v;
    UpdatePanels(true);
}

void TStatusBar::SetSimpleText(const std::wstring& t) {
    if (t == simpleText_) return;
    simpleText_ = t;
    if (HandleAllocated() && simplePanel_)
        SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(t.c_str()));
}

void TStatusBar::SetSizeGrip(bool v) {
    if (v == sizeGrip_) return;
    sizeGrip_ = v;
    RecreateWnd(); // the system reads the grip style only when the window is made
}

void TStatusBar::ColorChanged() {
    SendColor();
    TWinControl::ColorChanged();
}

void TStatusBar::SendColor() {
    if (!HandleAllocated()) return;
    bool own = Color() != clBtnFace;
    SendMessageW(Handle(), SB_SETBKCOLOR, 0, LPARAM(own ? ColorToRGB(Color()) : CLR_DEFAULT));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TStatusBar::UpdatePanels(bool layout) {
    if (!HandleAllocated() || Destroying()) return;
    HWND h = Handle();
    SendMessageW(h, SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
    if (simplePanel_) {
        SendMessageW(h, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
        return;
    }
    int n = panels_.Count();
    if (layout) {
        // Right edges; the last panel reaches to the end of the bar.
        std::vector<int> edges(size_t(std::max(n, 1)), -1);
        int x = 0;
        for (int i = 0; i + 1 < n; ++i) {
            x += panels_[i].Width();
            edges[size_t(i)] = x;
        }
        SendMessageW(h, SB_SETPARTS, WPARAM(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
    }
    if (n == 0) SendMessageW(h, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    for (int i = 0; i < n; ++i)
        SendPanelText(i);
}

void TStatusBar::SendPanelText(int index) {
    const TStatusPanel& p = panels_[index];
    if (p.Style() == psOwnerDraw) {
        SendMessageW(Handle(), SB_SETTEXTW, WPARAM(index) | SBT_OWNERDRAW,
                     reinterpret_cast<LPARAM>(&p));
        return;
    }
    // The system centres text after one tab and right-aligns it after two.
    std::wstring text = p.Alignment() == taCenter         ? L"\t" + p.Text()
                        : p.Alignment() == taRightJustify ? L"\t\t" + p.Text()
                                                          : p.Text();
    SendMessageW(Handle(), SB_SETTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(text.c_str()));
}

void TStatusBar::WndProc(TMessage& m) {
    if ((m.Msg == WM_PAINT || m.Msg == WM_PRINTCLIENT) && Color() != clBtnFace) {
        PaintRecoloured(m);
        return;
    }
    if (m.Msg == CN_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        int index = int(dis->itemID);
        if (OnDrawPanel && index >= 0 && index < panels_.Count()) {
            TCanvas canvas(dis->hDC);
            canvas.Font().Assign(Font());
            canvas.Brush().SetColor(Color());
            OnDrawPanel(this, &panels_[index], canvas, dis->rcItem);
        }
        m.Result = TRUE;
        return;
    }
    TWinControl::WndProc(m);
}

void TStatusBar::PaintRecoloured(TMessage& m) {
    // A themed system status bar paints the button face whatever colour it is
    // given: let it paint off screen, then turn its face into ours.
    PaintSystemOffscreen(
        Handle(), m, [this](TMessage& paint) { DefaultHandler(paint); },
        [this](TOffscreenPaint& off) {
            TBitmap& buffer = off.Bitmap();
            const std::uint32_t face = ColorToPixel(ColorToRGB(clBtnFace));
            const std::uint32_t ours = ColorToPixel(ColorToRGB(Color()));
            for (int y = 0; y < off.Height(); ++y) {
                std::uint32_t* row = buffer.ScanLine(y);
                for (int x = 0; x < off.Width(); ++x)
                    if ((row[x] & 0xFFFFFF) == face) row[x] = ours;
            }
        });
}
