#include "skin/controls/SUIForm.h"

#include "framework/Exceptions.h"
#include "framework/FormReader.h"
#include "framework/Utils.h"

const TEnumInfo& TitleBarAlignEnum() {
    static const TEnumInfo e{
        L"TsuiTitleBarAlign",
        {{L"suiLeft", suiLeft}, {L"suiRight", suiRight}, {L"suiClient", suiClient}}};
    return e;
}

const TEnumInfo& TitleBarBtnTypeEnum() {
    static const TEnumInfo e{L"TsuiTitleBarBtnType",
                             {{L"suiMax", suiMax},
                              {L"suiMin", suiMin},
                              {L"suiClose", suiClose},
                              {L"suiHelp", suiHelp},
                              {L"suiControlBox", suiControlBox},
                              {L"suiCustom", suiCustom}}};
    return e;
}

const TEnumInfo& BiDiModeEnum() {
    static const TEnumInfo e{L"TBiDiMode",
                             {{L"bdLeftToRight", bdLeftToRight},
                              {L"bdRightToLeft", bdRightToLeft},
                              {L"bdRightToLeftNoAlign", bdRightToLeftNoAlign},
                              {L"bdRightToLeftReadingOnly", bdRightToLeftReadingOnly}}};
    return e;
}

namespace {

void RefuseWithMessage(const std::wstring& text) {
    ShowMessageBox(text, Application ? Application->Title() : std::wstring(), MB_ICONERROR | MB_OK);
}

// Collections stored as < item ... end >: the items replace what was there.
template <class Add, class Clear> void ReadCollection(const TValue& v, Clear clear, Add add) {
    if (v.kind != TValue::Kind::Collection || !v.items)
        throw EPropertyError(L"a collection < item ... end > is expected, not " + v.Describe());
    clear();
    for (const auto& item : *v.items)
        ApplyStoredProperties(add(), item);
}

} // namespace

// ---------------------------------------------------------------------------
// Title-bar buttons and sections

const TClassInfo& TsuiTitleBarButton::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiTitleBarButton>(L"TsuiTitleBarButton", &TObject::StaticClass())
            .Enum(L"UIStyle", &TsuiTitleBarButton::UIStyle, &TsuiTitleBarButton::SetUIStyle,
                  UIStyleEnum())
            .Enum(L"ButtonType", &TsuiTitleBarButton::ButtonType,
                  &TsuiTitleBarButton::SetButtonType, TitleBarBtnTypeEnum())
            .Property(L"Transparent", &TsuiTitleBarButton::Transparent,
                      &TsuiTitleBarButton::SetTransparent)
            .Property(L"Top", &TsuiTitleBarButton::Top, &TsuiTitleBarButton::SetTop)
            .Component(L"ControlBoxMenu", &TsuiTitleBarButton::ControlBoxMenu,
                       &TsuiTitleBarButton::SetControlBoxMenu)
            .Property(L"Visible", &TsuiTitleBarButton::Visible, &TsuiTitleBarButton::SetVisible)
            .Build();
    return info;
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType v) {
    if (v == suiControlBox && buttonType_ != suiControlBox && frame_) {
        for (int i = 0; i < frame_->TitleBarButtonCount(); ++i) {
            const TsuiTitleBarButton& other = frame_->TitleBarButtons(i);
            if (&other != this && other.ButtonType() == suiControlBox) {
                RefuseWithMessage(
                    L"Sorry, only one button's ButtonType property can be \"suiControlBox\"");
                return;
            }
        }
    }
    buttonType_ = v;
}

void TsuiTitleBarButton::SetControlBoxMenu(TPopupMenu* v) {
    controlBoxMenu_ = v;
    if (v && frame_) frame_->FreeNotification(v);
}

const TClassInfo& TsuiTitleBarSection::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiTitleBarSection>(L"TsuiTitleBarSection", &TObject::StaticClass())
            .Property(L"AutoSize", &TsuiTitleBarSection::AutoSize,
                      &TsuiTitleBarSection::SetAutoSize)
            .Property(L"Width", &TsuiTitleBarSection::Width, &TsuiTitleBarSection::SetWidth)
            .Enum(L"Align", &TsuiTitleBarSection::Align, &TsuiTitleBarSection::SetAlign,
                  TitleBarAlignEnum())
            .Property(L"Stretch", &TsuiTitleBarSection::Stretch, &TsuiTitleBarSection::SetStretch)
            .Build();
    return info;
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign v) {
    if (v == suiClient && align_ != suiClient && frame_) {
        for (int i = 0; i < frame_->TitleBarSectionCount(); ++i) {
            const TsuiTitleBarSection& other = frame_->TitleBarSections(i);
            if (&other != this && other.Align() == suiClient) {
                RefuseWithMessage(L"Sorry, only one section's Align property can be \"suiClient\"");
                return;
            }
        }
    }
    align_ = v;
    if (v == suiClient) stretch_ = true;
}

// ---------------------------------------------------------------------------
// TsuiForm

const TClassInfo& TsuiForm::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiForm>(L"TsuiForm", &TCustomPanel::StaticClass())
            .Property(L"TitleBarCustom", &TsuiForm::TitleBarCustom, &TsuiForm::SetTitleBarCustom)
            .Component(L"FileTheme", &TsuiForm::FileTheme, &TsuiForm::SetFileTheme)
            .Enum(L"UIStyle", &TsuiForm::UIStyle, &TsuiForm::SetUIStyle, UIStyleEnum())
            .Property(L"UIStyleAutoUpdateSub", &TsuiForm::UIStyleAutoUpdateSub,
                      &TsuiForm::SetUIStyleAutoUpdateSub)
            .Color(L"BorderColor", &TsuiForm::BorderColor, &TsuiForm::SetBorderColor)
            .Property(L"BorderWidth", &TsuiForm::BorderWidth, &TsuiForm::SetBorderWidth)
            .Property(L"TitleBarVisible", &TsuiForm::TitleBarVisible, &TsuiForm::SetTitleBarVisible)
            .Enum(L"BiDiMode", &TsuiForm::BiDiMode, &TsuiForm::SetBiDiMode, BiDiModeEnum())
            .Property(L"Caption", &TsuiForm::Caption, &TsuiForm::SetCaption)
            .Component(L"FormPanel", &TsuiForm::FormPanel, &TsuiForm::SetFormPanel)
            .Custom(L"TitleBarButtons",
                    [](TsuiForm& f, const TValue& v) {
                        ReadCollection(
                            v, [&f] { f.ClearTitleBarButtons(); },
                            [&f]() -> TObject& { return f.AddTitleBarButton(); });
                    })
            .Custom(L"TitleBarSections",
                    [](TsuiForm& f, const TValue& v) {
                        ReadCollection(
                            v, [&f] { f.ClearTitleBarSections(); },
                            [&f]() -> TObject& { return f.AddTitleBarSection(); });
                    })
            .Property(L"TitleBarDrawAppIcon", &TsuiForm::TitleBarDrawAppIcon,
                      &TsuiForm::SetTitleBarDrawAppIcon)
            .Object(L"CaptionFont", &TsuiForm::CaptionFont, FontPropertyClass())
            .Component(L"Menu", &TsuiForm::Menu, &TsuiForm::SetMenu)
            .Color(L"MenuBarColor", &TsuiForm::MenuBarColor, &TsuiForm::SetMenuBarColor)
            .Property(L"MenuBarHeight", &TsuiForm::MenuBarHeight, &TsuiForm::SetMenuBarHeight)
            .Property(L"RoundCorner", &TsuiForm::RoundCorner, &TsuiForm::SetRoundCorner)
            .Component(L"PopupMenu", &TsuiForm::PopupMenu, &TsuiForm::SetPopupMenu)
            .Property(L"Version", &TsuiForm::Version, &TsuiForm::SetVersion)
            .Event(L"OnTitleBarCustomBtnsClick", &TsuiForm::OnTitleBarCustomBtnsClick)
            .Event(L"OnTitleBarHelpBtnClick", &TsuiForm::OnTitleBarHelpBtnClick)
            .Build();
    return info;
}

TsuiForm::TsuiForm(TComponent* owner)
    : TsuiStyled(owner, TsuiStyleLink::TThemeReapply::WhenChanged) {
    ownerForm_ = dynamic_cast<TForm*>(owner);
    if (ownerForm_) {
        for (int i = 0; i < ownerForm_->ComponentCount(); ++i) {
            TComponent* other = ownerForm_->Components(i);
            if (other != this && dynamic_cast<TsuiForm*>(other))
                throw EComponentError(
                    L"Sorry, You can create only one TsuiForm component in one form!");
        }
        caption_ = ownerForm_->Caption();
        ownerForm_->SetScaled(false);
    }
    // The title font the skinned title bar will draw with.
    captionFont_.SetName(L"Tahoma");
    captionFont_.SetStyle(TFontStyles{fsBold});
    captionFont_.SetColor(0xFFFFFF);
    for (TsuiTitleBarBtnType type : {suiControlBox, suiClose, suiMax, suiMin})
        AddTitleBarButton(type);
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    // The title lives in caption_; the panel would draw its own text in the middle.
    SetText(L" ");
    SetAlign(alClient);
    SetUIStyle(TsuiUIStyle::DeepBlue);
    menuBarColor_ = Color();
}

TsuiForm::~TsuiForm() = default;

TsuiTitleBarButton& TsuiForm::AddTitleBarButton(TsuiTitleBarBtnType type) {
    buttons_.push_back(std::make_unique<TsuiTitleBarButton>(this, type));
    return *buttons_.back();
}

TsuiTitleBarSection& TsuiForm::AddTitleBarSection() {
    sections_.push_back(std::make_unique<TsuiTitleBarSection>(this));
    return *sections_.back();
}

void TsuiForm::ApplyStyle() {
    borderColor_ = StyleLink().Color(ThemeElement::FormBorderColor);
    borderWidth_ = StyleLink().Int(ThemeElement::FormBorderWidthInt);
    SetColor(StyleLink().Color(ThemeElement::FormBackgroundColor));
    menuBarColor_ = Color();
    if (autoUpdateSub_) ApplyStyleToChildren(*this, UIStyle(), FileTheme());
    Invalidate();
}

void TsuiForm::SetCaption(const std::wstring& v) {
    caption_ = v;
    // The system title bar shows the title until the frame draws its own.
    if (ownerForm_) ownerForm_->SetCaption(v);
}

void TsuiForm::SetBorderColor(TColor v) {
    borderColor_ = v;
    Invalidate();
}

void TsuiForm::SetBorderWidth(int v) {
    borderWidth_ = v;
    Invalidate();
}

void TsuiForm::SetRoundCorner(int v) {
    roundCorner_ = v;
    Invalidate();
}

void TsuiForm::SetTitleBarVisible(bool v) {
    titleBarVisible_ = v;
    Invalidate();
}

void TsuiForm::SetFormPanel(TCustomPanel* v) {
    if (v == this) {
        RefuseWithMessage(L"Sorry, you can't select the Form assign to FormPanel property");
        return;
    }
    formPanel_ = v;
    if (v) FreeNotification(v);
}

void TsuiForm::SetMenu(TMainMenu* v) {
    menu_ = v;
    if (v) FreeNotification(v);
    MenuChanged();
}

void TsuiForm::MenuChanged() {
    Invalidate();
}

void TsuiForm::SetPopupMenu(TPopupMenu* v) {
    popupMenu_ = v;
    if (v) FreeNotification(v);
}

void TsuiForm::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        if (component == formPanel_) formPanel_ = nullptr;
        if (component == menu_) menu_ = nullptr;
        if (component == popupMenu_) popupMenu_ = nullptr;
        for (auto& b : buttons_)
            if (component == b->controlBoxMenu_) b->controlBoxMenu_ = nullptr;
    }
    TsuiStyled::Notification(component, operation);
}

void TsuiForm::ThemeRemoved() {
    ApplyStyleToChildren(*this, TsuiUIStyle::DeepBlue, nullptr);
}
