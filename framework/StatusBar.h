#pragma once

// The status bar over the system's status-bar control: panels with a width,
// a text and an alignment (the last one reaches to the right edge), or one
// simple text across the bar; an optional size grip; child controls on top;
// and a hook that draws owner-drawn panels.

#include "framework/Controls.h"

#include <memory>
#include <string>
#include <vector>

class TStatusBar;
class TStatusPanels;

enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel : public TObject {
  public:
    explicit TStatusPanel(TStatusPanels* collection) : collection_(collection) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int Width() const { return width_; }
    void SetWidth(int w);
    const std::wstring& Text() const { return text_; }
    void SetText(const std::wstring& t);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle s);
    int Index() const;

  private:
    void Changed(bool layout);
    TStatusPanels* collection_;
    int width_ = 50;
    std::wstring text_;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelStyle style_ = psText;
};

class TStatusPanels {
  public:
    explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
    TStatusPanels(const TStatusPanels&) = delete;
    TStatusPanels& operator=(const TStatusPanels&) = delete;

    int Count() const { return int(items_.size()); }
    TStatusPanel& Items(int index) const { return *items_.at(size_t(index)); }
    TStatusPanel& operator[](int index) const { return Items(index); }
    TStatusPanel& Add();
    void Delete(int index);
    void Clear();
    // Several changes, one update of the bar at the end.
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

  private:
    friend class TStatusPanel;
    void Changed(bool layout);
    TStatusBar* bar_;
    std::vector<std::unique_ptr<TStatusPanel>> items_;
    int updating_ = 0;
    bool pendingLayout_ = false;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel,
                                           TCanvas& Canvas, const RECT& Rect)>;

const TEnumInfo& StatusPanelStyleEnum();

class TStatusBar : public TWinControl {
  public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TStatusPanels& Panels() { return panels_; }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const std::wstring& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::wstring& t);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);

    // Draws the panels whose Style is psOwnerDraw.
    TDrawPanelEvent OnDrawPanel;

  protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void ColorChanged() override;

  private:
    friend class TStatusPanels;
    void UpdatePanels(bool layout);
    void SendPanelText(int index);
    void SendColor();
    void PaintRecoloured(TMessage& m);

    TStatusPanels panels_{this};
    bool simplePanel_ = false;
    std::wstring simpleText_;
    bool sizeGrip_ = true;
};
