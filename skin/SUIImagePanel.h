// A panel that shows a picture (plain, stretched or tiled), can let its
// parent show through, and draws a one-line caption over it. The scroll
// bar's slider and the form frame's content panel are built on it.
#pragma once

#include "skin/SUIThemes.h"

#include "framework/Controls.h"
#include "framework/Graphics.h"

enum TsuiDrawStyle { suiNormal, suiStretch, suiTile };

const TEnumInfo& DrawStyleEnum();

class TsuiCustomPanel : public TCustomPanel, public IsuiKeptPicture {
  public:
    explicit TsuiCustomPanel(TComponent* owner);
    ~TsuiCustomPanel() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TPicture& Picture() { return picture_; }
    TsuiDrawStyle DrawStyle() const { return drawStyle_; }
    void SetDrawStyle(TsuiDrawStyle style);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

    // Where the caption goes; (-1, -1) places it by Alignment, vertically centred.
    POINT CaptionPosition() const { return captionPos_; }
    void SetCaptionPosition(int x, int y);
    // Where the caption was last drawn (empty when nothing was).
    const RECT& CaptionRect() const { return captionRect_; }

    // The panel's whole look drawn into canvas, whose (0, 0) is the client
    // area's top-left. Paint does this into an off-screen bitmap.
    void PaintTo(TCanvas& canvas);

    bool PaintKeptPicture(HDC dc) override;

  protected:
    // The buffer the panel's Paint goes through.
    virtual TOffscreenBuffer& PaintBuffer() { return buffer_; }
    void Paint() override;
    void Resize() override;
    void TextChanged() override;

  private:
    void PictureChanged();
    void ApplyAutoSize();
    void SyncPictureTransparency();

    TPicture picture_;
    TsuiDrawStyle drawStyle_ = suiNormal;
    bool autoSize_ = false;
    bool transparent_ = false;
    bool syncing_ = false;
    POINT captionPos_{-1, -1};
    RECT captionRect_{};
    TOffscreenBuffer buffer_;
};

class TsuiImagePanel : public TsuiCustomPanel {
  public:
    explicit TsuiImagePanel(TComponent* owner) : TsuiCustomPanel(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};
