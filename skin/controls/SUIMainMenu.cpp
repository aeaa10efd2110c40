#include "skin/controls/SUIMainMenu.h"

#include "skin/SUIFormFrame.h"
#include "skin/SUIThemes.h"

#include "framework/Forms.h"

const TClassInfo& TsuiMainMenu::StaticClass() {
    static const TClassInfo& info = []() -> const TClassInfo& {
        TClassBuilder<TsuiMainMenu> b(L"TsuiMainMenu", &TMainMenu::StaticClass());
        PublishMenuProperties(b);
        b.Component(L"Images", &TsuiMainMenu::ImageList, &TsuiMainMenu::SetImageList);
        return b.Build();
    }();
    return info;
}

TsuiMainMenu::TsuiMainMenu(TComponent* owner) : TsuiMenuSkin(owner), checkMarks_(16, 16) {
    AddMenuCheckMark(checkMarks_);
    TMenu::SetImages(&checkMarks_);
    // The frame draws the bar, so the form shows no system menu bar.
    if (auto* form = dynamic_cast<TForm*>(owner)) {
        if (FormMenu(form)) SetFormMenu(form, nullptr);
        AttachTo(FindFormFrame(form));
    }
}

void TsuiMainMenu::AttachTo(IsuiFormFrame* frame) {
    if (!frame || frame == frame_) return;
    frame_ = frame;
    // Kept apart: a frame being freed can no longer be cast.
    frameComponent_ = dynamic_cast<TComponent*>(frame);
    FreeNotification(frameComponent_);
    frame->SetMenu(this);
}

TImageList* TsuiMainMenu::Images() const {
    TImageList* images = TMenu::Images();
    return images == &checkMarks_ ? nullptr : images;
}

void TsuiMainMenu::SetImages(TImageList* images) {
    TMenu::SetImages(images ? images : &checkMarks_);
}

TCustomImageList* TsuiMainMenu::ImageList() const {
    return TMenu::ImageList();
}

void TsuiMainMenu::SetImageList(TCustomImageList* list) {
    TMenu::SetImageList(list);
    if (!list) TMenu::SetImages(&checkMarks_);
}

void TsuiMainMenu::SetUseSystemFont(bool v) {
    TsuiMenuSkin::SetUseSystemFont(v);
    if (frame_) frame_->MenuChanged();
}

void TsuiMainMenu::Loaded() {
    TsuiMenuSkin::Loaded();
    // A description may name the frame after the menu.
    if (!frame_) AttachTo(FindFormFrame(Owner()));
    if (frame_) frame_->MenuChanged();
}

void TsuiMainMenu::MenuChanged() {
    TsuiMenuSkin::MenuChanged();
    if (frame_ && !Loading() && !Destroying()) frame_->MenuChanged();
}

void TsuiMainMenu::Notification(TComponent* component, TOperation operation) {
    TsuiMenuSkin::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (frame_ && component == frameComponent_) {
        frame_ = nullptr;
        frameComponent_ = nullptr;
    }
    // A freed picture list leaves the check marks in its place.
    if (!Destroying() && !TMenu::Images()) TMenu::SetImages(&checkMarks_);
}
