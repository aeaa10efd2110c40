// Components and class metadata: ownership, removal notifications, names,
// published properties by name, and window class names.

#include "FrameworkTestSupport.h"

#include "framework/Component.h"
#include "framework/Controls.h"

#include <memory>

namespace {

std::vector<std::wstring> gFreed;

class TLogged : public TComponent {
  public:
    explicit TLogged(TComponent* owner, const wchar_t* name = L"") : TComponent(owner) {
        SetName(name);
    }
    ~TLogged() override { gFreed.push_back(Name()); }
};

// Holds a reference it must drop when the other goes away.
class TWatcher : public TComponent {
  public:
    using TComponent::TComponent;
    TComponent* ref = nullptr;
    void Watch(TComponent* c) {
        ref = c;
        if (c) c->FreeNotification(this);
    }

  protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == ref) ref = nullptr;
    }
};

TEST(Component, OwnerFreesWhatItOwnsNewestFirst) {
    gFreed.clear();
    auto* owner = new TLogged(nullptr, L"Owner");
    new TLogged(owner, L"A");
    auto* b = new TLogged(owner, L"B");
    new TLogged(b, L"B1");
    new TLogged(owner, L"C");
    EXPECT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(b->Owner(), owner);
    owner->Free();
    // Each destructor logs on entry, before its own components go.
    EXPECT_EQ(gFreed, (std::vector<std::wstring>{L"Owner", L"C", L"B", L"B1", L"A"}));
}

TEST(Component, FreedComponentLeavesItsOwnerList) {
    TOwned<TComponent> owner(new TComponent(nullptr));
    auto* a = new TComponent(owner.get());
    auto* b = new TComponent(owner.get());
    a->Free();
    ASSERT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), b);
}

TEST(Component, RemovalIsToldToWhoeverAsked) {
    // Across owners, through FreeNotification.
    TOwned<TComponent> formA(new TComponent(nullptr)), formB(new TComponent(nullptr));
    auto* watcher = new TWatcher(formA.get());
    auto* target = new TComponent(formB.get());
    watcher->Watch(target);
    target->Free();
    EXPECT_EQ(watcher->ref, nullptr);

    // Within one owner, the owner passes the news to all it owns.
    auto* sibling = new TComponent(formA.get());
    watcher->ref = sibling;
    sibling->Free();
    EXPECT_EQ(watcher->ref, nullptr);

    // Once withdrawn, nothing more is told.
    auto* other = new TComponent(nullptr);
    watcher->Watch(other);
    other->RemoveFreeNotification(watcher);
    delete other;
    EXPECT_NE(watcher->ref, nullptr); // stale on purpose: nobody told it
    watcher->ref = nullptr;

    // A watcher that goes first is not called later.
    auto* lasting = new TComponent(nullptr);
    auto* shortLived = new TWatcher(nullptr);
    shortLived->Watch(lasting);
    delete shortLived;
    delete lasting; // would call the freed watcher if it were still listed
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
    TOwned<TComponent> owner(new TComponent(nullptr));
    auto* a = new TComponent(owner.get());
    a->SetName(L"Panel1");
    auto* b = new TComponent(owner.get());
    EXPECT_THROW(b->SetName(L"PANEL1"), EComponentError);
    EXPECT_THROW(b->SetName(L"1Panel"), EComponentError);
    EXPECT_THROW(b->SetName(L"面板"), EComponentError);
    b->SetName(L"Panel2");
    b->SetName(L""); // unnamed is always allowed
    EXPECT_EQ(owner->FindComponent(L"panel1"), a);
    EXPECT_EQ(owner->FindComponent(L"Panel2"), nullptr);
}

// ---------------------------------------------------------------------------
// Metadata

class TProbeComponent : public TComponent {
  public:
    using TComponent::TComponent;
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TProbeComponent>(L"TProbeComponent", &TComponent::StaticClass())
                .Property(L"Count", &TProbeComponent::Count, &TProbeComponent::SetCount)
                .Property(L"Ratio", &TProbeComponent::Ratio, &TProbeComponent::SetRatio)
                .Enum(L"Align", &TProbeComponent::Align, &TProbeComponent::SetAlign, AlignEnum())
                .Set(L"Anchors", &TProbeComponent::Anchors, &TProbeComponent::SetAnchors,
                     AnchorsEnum())
                .Color(L"Color", &TProbeComponent::Color, &TProbeComponent::SetColor)
                .Component(L"Buddy", &TProbeComponent::Buddy, &TProbeComponent::SetBuddy)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    int Count() const { return count_; }
    void SetCount(int v) { count_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign a) { align_ = a; }
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors a) { anchors_ = a; }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    TPanel* Buddy() const { return buddy_; }
    void SetBuddy(TPanel* p) { buddy_ = p; }

  private:
    int count_ = 0;
    double ratio_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_;
    TColor color_ = clBlack;
    TPanel* buddy_ = nullptr;
};

TEST(ClassMetadata, NamesBasesAndPublishedProperties) {
    TOwned<TPanel> panel(new TPanel(nullptr));
    EXPECT_EQ(panel->ClassName(), L"TPanel");
    EXPECT_TRUE(panel->InheritsFrom(TWinControl::StaticClass()));
    EXPECT_FALSE(panel->InheritsFrom(TGraphicControl::StaticClass()));
    EXPECT_EQ(FindClass(L"tpanel"), &TPanel::StaticClass());
    EXPECT_EQ(FindClass(L"TNoSuchClass"), nullptr);

    EXPECT_TRUE(HasPublishedProperty(panel.get(), L"Caption"));
    EXPECT_TRUE(HasPublishedProperty(panel.get(), L"BevelOuter"));
    EXPECT_FALSE(HasPublishedProperty(panel.get(), L"UIStyle"));
    EXPECT_FALSE(HasPublishedProperty(nullptr, L"Caption"));

    // Base class first, each in declaration order.
    auto all = TPanel::StaticClass().AllProperties();
    ASSERT_GE(all.size(), 4u);
    EXPECT_EQ(all[0]->name, L"Tag");
    EXPECT_EQ(all[1]->name, L"Left");
    EXPECT_EQ(all.back()->name, L"BorderStyle");
}

TEST(ClassMetadata, PropertiesSetAndReadByName) {
    TOwned<TComponent> owner(new TComponent(nullptr));
    auto* probe = new TProbeComponent(owner.get());
    SetPropertyValue(*probe, L"Count", TValue::Int(7));
    SetPropertyValue(*probe, L"Ratio", TValue::Int(2)); // integers fit a float
    SetPropertyValue(*probe, L"Align", TValue::Ident(L"alClient"));
    SetPropertyValue(*probe, L"Anchors", TValue::SetOf({L"akRight", L"akBottom"}));
    SetPropertyValue(*probe, L"Color", TValue::Ident(L"clBtnFace"));
    EXPECT_EQ(probe->Count(), 7);
    EXPECT_EQ(probe->Ratio(), 2.0);
    EXPECT_EQ(probe->Align(), alClient);
    EXPECT_EQ(probe->Anchors(), (TAnchors{akRight, akBottom}));
    EXPECT_EQ(probe->Color(), clBtnFace);
    SetPropertyValue(*probe, L"Align", TValue::Int(alTop)); // an enum by its ordinal, too
    EXPECT_EQ(probe->Align(), alTop);

    EXPECT_EQ(GetPropertyValue(*probe, L"Align").text, L"alTop");
    EXPECT_EQ(GetPropertyValue(*probe, L"Color").text, L"clBtnFace");
    EXPECT_EQ(GetPropertyValue(*probe, L"Anchors").list,
              (std::vector<std::wstring>{L"akRight", L"akBottom"}));

    EXPECT_THROW(SetPropertyValue(*probe, L"Count", TValue::Str(L"7")), EPropertyError);
    EXPECT_THROW(SetPropertyValue(*probe, L"Count", TValue::Int(1LL << 40)), EPropertyError);
    EXPECT_THROW(SetPropertyValue(*probe, L"Align", TValue::Ident(L"alMiddle")), EPropertyError);
    EXPECT_THROW(SetPropertyValue(*probe, L"Anchors", TValue::SetOf({L"fsBold"})), EPropertyError);
    EXPECT_THROW(SetPropertyValue(*probe, L"Nothing", TValue::Int(1)), EPropertyError);

    // References check the class of what they are given.
    auto* panel = new TPanel(owner.get());
    SetPropertyValue(*probe, L"Buddy", TValue::Ref(panel));
    EXPECT_EQ(probe->Buddy(), panel);
    EXPECT_THROW(SetPropertyValue(*probe, L"Buddy", TValue::Ref(owner.get())), EPropertyError);
}

TEST(ClassMetadata, DottedSubPropertiesReachFontAndConstraints) {
    TOwned<TPanel> panel(new TPanel(nullptr));
    SetPropertyValue(*panel, L"Font.Style", TValue::SetOf({L"fsBold", L"fsItalic"}));
    SetPropertyValue(*panel, L"Font.Name", TValue::Str(L"Tahoma"));
    SetPropertyValue(*panel, L"Font.Height", TValue::Int(-11));
    SetPropertyValue(*panel, L"Font.Charset", TValue::Ident(L"GB2312_CHARSET"));
    SetPropertyValue(*panel, L"Constraints.MinWidth", TValue::Int(50));
    EXPECT_EQ(panel->Font().Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(panel->Font().Name(), L"Tahoma");
    EXPECT_EQ(panel->Font().Height(), -11);
    EXPECT_EQ(panel->Font().Charset(), GB2312_CHARSET);
    EXPECT_FALSE(panel->ParentFont()); // a font of its own now
    panel->SetWidth(10);
    EXPECT_EQ(panel->Width(), 50);
    EXPECT_THROW(SetPropertyValue(*panel, L"Caption.Length", TValue::Int(1)), EPropertyError);
}

// ---------------------------------------------------------------------------
// Window classes

class TsuiRadioGroupButton : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info = TClassBuilder<TsuiRadioGroupButton>(
                                            L"TsuiRadioGroupButton", &TCustomControl::StaticClass())
                                            .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

// A control on a system control: superclassed under its own name.
class TTestEdit : public TWinControl {
  public:
    explicit TTestEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TTestEdit>(L"TTestEdit", &TWinControl::StaticClass()).Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    int changes = 0;

  protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        CreateSubClass(p, L"EDIT");
        p.Style |= ES_RIGHT | ES_AUTOHSCROLL;
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) ++changes;
        if (m.Msg == CN_DRAWITEM || m.Msg == CN_NOTIFY || m.Msg == CN_MEASUREITEM) {
            reflected.push_back(m.Msg);
            m.Result = TRUE;
            return;
        }
        TWinControl::WndProc(m);
    }

  public:
    std::vector<UINT> reflected;
};

TEST(WindowClass, IsTheClassNameAndSystemControlsAreSuperclassed) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* item = Make<TsuiRadioGroupButton>(form.get(), form.get());
    auto* edit = Make<TTestEdit>(form.get(), 10, 40, 100, 21);
    EXPECT_EQ(ClassNameOf(item->Handle()), L"TsuiRadioGroupButton");
    EXPECT_EQ(ClassNameOf(form->Handle()), L"TForm");
    EXPECT_EQ(ClassNameOf(edit->Handle()), L"TTestEdit");

    // Still an edit underneath, with our style and its notifications reflected to it.
    EXPECT_TRUE(GetWindowLongPtrW(edit->Handle(), GWL_STYLE) & ES_RIGHT);
    edit->SetText(L"12.5");
    EXPECT_EQ(edit->Text(), L"12.5");
    EXPECT_GE(edit->changes, 1);
    SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(edit->Handle(), WM_CHAR, L'7', 0);
    EXPECT_EQ(edit->Text(), L"7");
    EXPECT_EQ(TWinControl::FindControl(edit->Handle()), edit);
}

TEST(WindowClass, ParentMessagesAboutAChildAreReflectedToIt) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* edit = Make<TTestEdit>(form.get(), form.get());
    edit->SetColor(clYellow);
    edit->Font().SetColor(clNavy);
    HWND parent = form->Handle(), child = edit->Handle();

    // Colours: the child answers with its own Color and Font.Color.
    TBitmap bmp(4, 4);
    HDC dc = bmp.Canvas().Handle();
    auto brush = SendMessageW(parent, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(child));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetBkColor(dc), ColorToRGB(clYellow));
    EXPECT_EQ(GetTextColor(dc), ColorToRGB(clNavy));

    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = child;
    EXPECT_EQ(SendMessageW(parent, WM_DRAWITEM, 0, LPARAM(&dis)), TRUE);
    NMHDR hdr{child, 0, 0};
    SendMessageW(parent, WM_NOTIFY, 0, LPARAM(&hdr));
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_LISTBOX;
    mis.CtlID = UINT(GetDlgCtrlID(child));
    SendMessageW(parent, WM_MEASUREITEM, mis.CtlID, LPARAM(&mis));
    EXPECT_EQ(edit->reflected, (std::vector<UINT>{CN_DRAWITEM, CN_NOTIFY, CN_MEASUREITEM}));
}

} // namespace
