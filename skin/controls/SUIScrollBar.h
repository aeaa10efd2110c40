// The skinned scroll bar: two arrow buttons and a track with a thumb, all
// from the style's pictures. A list box or memo can lay one over its own
// system scroll bar and keep the two in step.
#pragma once

#include "skin/SUIImagePanel.h"
#include "skin/SUIStyleLink.h"
#include "skin/controls/SUIButton.h"

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Timer.h"

enum TsuiScrollBarOrientation { suiHorizontal, suiVertical };

const TEnumInfo& ScrollBarOrientationEnum();

class TsuiScrollBar;

// The part between the arrows: a press beside the thumb pages towards the
// pointer, the thumb follows a drag, and the keys move the position while
// the track has the focus.
class TsuiScrollTrack : public TCustomControl {
  public:
    explicit TsuiScrollTrack(TsuiScrollBar& bar);
    ~TsuiScrollTrack() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiImagePanel& Thumb() { return *thumb_; }
    // A page step repeats while the button is held on the track.
    bool Repeating() const { return timer_ != nullptr; }

  protected:
    void Paint() override;
    void WndProc(TMessage& m) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void KeyDown(WORD& key, TShiftState shift) override;

  private:
    // One page (or step) towards the value under the track point c, never past it.
    void PageTowards(int c, int step);
    void StopRepeat();
    void ThumbDown(TMouseButton button);
    void ThumbMove(int x, int y);

    TsuiScrollBar& bar_;
    TsuiImagePanel* thumb_;
    TOwned<TTimer> timer_;
    bool dragging_ = false;
};

class TsuiScrollBar : public TsuiStyled<TCustomPanel> {
  public:
    explicit TsuiScrollBar(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiScrollBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TsuiScrollBarOrientation v);
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const { return position_; }
    // Clamped to Min..Max.
    void SetPosition(int v);
    // 0..Max; a page step, and the thumb's share of the track in percent.
    int PageSize() const { return pageSize_; }
    void SetPageSize(int v);
    // The track's page size: another name for PageSize.
    int LargeChange() const { return pageSize_; }
    void SetLargeChange(int v) { SetPageSize(v); }
    // 1..32767: one arrow step.
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v);
    // The thumb's length in pixels, at least 18; 0 derives it from PageSize.
    int LineButton() const { return lineButton_; }
    void SetLineButton(int v);
    // A linked control hides the thumb while its own bar has nothing to scroll.
    bool ThumbVisible() const { return thumbVisible_; }
    void SetThumbVisible(bool v);

    // A bar laid over another control stays above it, also when its own
    // window is made after the other's (a new window goes below its siblings).
    bool KeepInFront() const { return keepInFront_; }
    void SetKeepInFront(bool v);

    TsuiImageButton& FirstButton() { return *first_; }
    TsuiImageButton& SecondButton() { return *second_; }
    TsuiScrollTrack& Track() { return *track_; }

    // Fires whenever Position ends up other than the value last reported.
    TNotifyEvent OnChange;

  protected:
    void ApplyStyle() override;
    void Resize() override;
    void EnabledChanged() override;
    void Loaded() override;
    void CreateHandleDone() override;

  private:
    friend class TsuiScrollTrack;
    bool Vertical() const { return orientation_ == suiVertical; }
    // Buttons, track and thumb placed for the current size and pictures.
    void Layout();
    void RebuildThumb();
    void MoveThumb();
    int TrackLength() const;
    int ThumbLength() const;
    // The value under a point c pixels along the track, clamped.
    int ValueAt(int c) const;
    // Position := v without the setter's clamping, then OnChange if it moved.
    void MoveTo(long long v);
    void ReportChange();

    TsuiImageButton* first_ = nullptr;
    TsuiImageButton* second_ = nullptr;
    TsuiScrollTrack* track_ = nullptr;
    TBitmap thumbStart_, thumbMiddle_, thumbEnd_;
    TsuiScrollBarOrientation orientation_ = suiHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int reported_ = 0;
    int pageSize_ = 0;
    int smallChange_ = 1;
    int lineButton_ = 0;
    bool thumbVisible_ = true;
    bool layingOut_ = false;
    bool keepInFront_ = false;
};
