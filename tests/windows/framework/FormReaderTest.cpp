// Form descriptions: objects nested with owner and parent, properties in
// stored order, events bound by name, Loaded once each; and errors that
// name the source, the line and the problem.

#include "FrameworkTestSupport.h"

#include "framework/FormReader.h"
#include "framework/StringList.h"
#include "framework/Timer.h"

#include <memory>
#include <vector>

namespace {

std::vector<std::wstring> gLog;

class TProbe : public TPanel {
  public:
    explicit TProbe(TComponent* owner) : TPanel(owner) {}
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TProbe>(L"TProbe", &TPanel::StaticClass())
                .Property(L"First", &TProbe::First, &TProbe::SetFirst)
                .Property(L"Second", &TProbe::Second, &TProbe::SetSecond)
                .Property(L"Third", &TProbe::Third, &TProbe::SetThird)
                .Property(L"Ratio", &TProbe::Ratio, &TProbe::SetRatio)
                .Strings(L"Items", &TProbe::Items)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int First() const { return first_; }
    void SetFirst(int v) { Record(L"First", first_ = v); }
    int Second() const { return second_; }
    void SetSecond(int v) { Record(L"Second", second_ = v); }
    int Third() const { return third_; }
    void SetThird(int v) { Record(L"Third", third_ = v); }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    TStringList& Items() { return items_; }

    void Loaded() override {
        TPanel::Loaded();
        ++loadedCount;
        gLog.push_back(Name() + L".Loaded");
    }

    int loadedCount = 0;
    bool setWhileLoading = true;

  private:
    void Record(const wchar_t* what, int) {
        gLog.push_back(Name() + L"." + what);
        setWhileLoading = setWhileLoading && Loading();
    }
    int first_ = 0, second_ = 0, third_ = 0;
    double ratio_ = 0;
    TStringList items_;
};

class TReaderForm : public TForm {
  public:
    explicit TReaderForm(TComponent* owner) : TForm(owner) {}
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TReaderForm>(L"TReaderForm", &TForm::StaticClass())
                .Handler(L"ProbeClick", &TReaderForm::ProbeClick)
                .Handler(L"FormShow", &TReaderForm::FormShow)
                .Handler(L"KeyHandler", &TReaderForm::KeyHandler)
                .Field(L"Inner", &TReaderForm::Inner)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }

    void ProbeClick(TObject* sender) { clickedBy = sender; }
    void FormShow(TObject*) { ++shows; }
    void KeyHandler(TObject*, WORD& key, TShiftState) { lastKey = key; }
    void Loaded() override {
        TForm::Loaded();
        gLog.push_back(L"Form.Loaded");
    }

    TProbe* Inner = nullptr;
    TObject* clickedBy = nullptr;
    int shows = 0;
    WORD lastKey = 0;
};

const TClassInfo& gRegistered = TProbe::StaticClass(); // known by name before any reading

TEST(FormReader, NestedDescriptionAppliedInStoredOrderWithEventsBoundByName) {
    (void)gRegistered;
    gLog.clear();
    TOwned<TReaderForm> form(new TReaderForm(nullptr));
    form->LoadDescription(L"TReaderForm");

    auto* outer = dynamic_cast<TProbe*>(form->FindComponent(L"Outer"));
    auto* inner = dynamic_cast<TProbe*>(form->FindComponent(L"Inner"));
    auto* timer = dynamic_cast<TTimer*>(form->FindComponent(L"Timer1"));
    ASSERT_TRUE(outer && inner && timer);
    // Owner is the form; parent is the enclosing object.
    EXPECT_EQ(inner->Owner(), form.get());
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(outer->Parent(), form.get());
    EXPECT_EQ(form->Inner, inner);

    // Setters ran in stored order, while loading; then Loaded once each, form first.
    EXPECT_EQ(gLog, (std::vector<std::wstring>{L"Outer.Third", L"Outer.First", L"Inner.Second",
                                               L"Inner.First", L"Form.Loaded", L"Outer.Loaded",
                                               L"Inner.Loaded"}));
    EXPECT_TRUE(outer->setWhileLoading && inner->setWhileLoading);
    EXPECT_EQ(outer->loadedCount, 1);
    EXPECT_EQ(inner->loadedCount, 1);
    EXPECT_FALSE(form->Loading() || outer->Loading() || inner->Loading() || timer->Loading());

    // Values of every kind.
    EXPECT_EQ(form->Caption(), L"读取\r\nit's");
    EXPECT_EQ(form->ClientWidth(), 300);
    EXPECT_EQ(form->ClientHeight(), 200);
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(outer->Align(), alTop);
    EXPECT_EQ(outer->Width(), 300); // aligned to the client width
    EXPECT_EQ(outer->Color(), TColor(0xE7E7E7));
    EXPECT_DOUBLE_EQ(outer->Ratio(), 2.5);
    EXPECT_EQ(inner->Items().ToVector(), (std::vector<std::wstring>{L"a", L"第二", L"cd"}));
    EXPECT_EQ(inner->Anchors(), (TAnchors{akLeft, akTop, akRight}));
    EXPECT_EQ(inner->Font().Name(), L"Tahoma"); // the parent's font, inherited
    EXPECT_TRUE(inner->Font().Style().Contains(fsBold));
    EXPECT_EQ(timer->Interval(), 100u);
    EXPECT_FALSE(timer->Enabled());

    // Events reach the form's handler methods.
    ASSERT_TRUE(inner->OnClick);
    inner->OnClick(inner);
    EXPECT_EQ(form->clickedBy, inner);
    WORD key = VK_F5;
    inner->OnKeyDown(inner, key, {});
    EXPECT_EQ(form->lastKey, VK_F5);
    form->Show();
    EXPECT_EQ(form->shows, 1);
}

std::string ErrorOf(const std::wstring& text, const wchar_t* source = L"Sample") {
    TOwned<TReaderForm> form(new TReaderForm(nullptr));
    try {
        form->LoadDescriptionText(text, source);
    } catch (const EFormDescriptionError& e) {
        return WideToUtf8(e.Message());
    }
    return "no error";
}

TEST(FormReader, ErrorsNameSourceLineAndProblem) {
    (void)gRegistered;
    struct Case {
        const wchar_t* text;
        const char* expected;
    } cases[] = {
        {L"object F: TReaderForm\n  object P: TNoSuch\n  end\nend",
         "Form description Sample, line 2: unknown class 'TNoSuch'"},
        {L"object F: TReaderForm\n  object P: TProbe\n    Colr = clRed\n  end\nend",
         "Form description Sample, line 3: unknown property 'Colr' of TProbe"},
        {L"object F: TReaderForm\n  Width = 'wide'\nend",
         "Form description Sample, line 2: bad value for Width: an integer is expected, not "
         "'wide'"},
        {L"object F: TReaderForm\n  object P: TProbe\n    First = 1\nend",
         "Form description Sample, line 4: missing 'end' of object F (opened on line 1)"},
        {L"object F: TReaderForm\n\n  OnShow = Nope\nend",
         "Form description Sample, line 3: unknown handler 'Nope' for OnShow"},
        {L"object F: TReaderForm\n  Caption = 'open\nend",
         "Form description Sample, line 2: unterminated string"},
        {L"object F: TReaderForm\n  Anchors = [akLeft, akMiddle]\nend",
         "Form description Sample, line 2: bad value for Anchors: 'akMiddle' is not a value of "
         "TAnchors"},
        {L"object F: TPanel\nend",
         "Form description Sample, line 1: the description is of class TPanel"},
        {L"object F: TReaderForm\n  object P: TProbe\n  end\n  object p: TProbe\n  end\nend",
         "Form description Sample, line 4: A component named p already exists"},
        {L"object F: TReaderForm\n  OnKeyDown = ProbeClick\nend",
         "Form description Sample, line 2: bad value for OnKeyDown: the handler does not fit event "
         "OnKeyDown"},
        {L"object F: TReaderForm\n  ActiveControl = Nobody\nend",
         "Form description Sample, line 2: unknown component 'Nobody'"},
        {L"object F: TReaderForm\n  Width 10\nend",
         "Form description Sample, line 2: '=' expected after Width, found 10"},
        {L"object F: TReaderForm\n  object T: TTimer\n    object P: TProbe\n    end\n  end\nend",
         "Form description Sample, line 3: P is a control, but its enclosing object holds no "
         "controls"},
        {L"object F: TReaderForm\nend\nend",
         "Form description Sample, line 3: text after the final 'end'"},
    };
    for (const Case& c : cases) {
        std::string error = ErrorOf(c.text);
        EXPECT_EQ(error.rfind(c.expected, 0), 0u) << "got: " << error;
    }
    // From a resource: the resource's name is the source.
    TOwned<TReaderForm> form(new TReaderForm(nullptr));
    try {
        form->LoadDescription(L"TBrokenForm");
        ADD_FAILURE() << "no error";
    } catch (const EFormDescriptionError& e) {
        EXPECT_EQ(WideToUtf8(e.Message()),
                  "Form description TBrokenForm, line 4: unknown property 'Frist' of TProbe");
    }
    EXPECT_THROW(form->LoadDescription(L"TNoSuchForm"), EResourceError);
}

TEST(FormReader, ForwardReferencesResolveAtTheEnd) {
    TOwned<TReaderForm> form(new TReaderForm(nullptr));
    form->LoadDescriptionText(L"object F: TReaderForm\n"
                              L"  ActiveControl = Later\n"
                              L"  object Later: TProbe\n"
                              L"  end\n"
                              L"end",
                              L"Refs");
    EXPECT_EQ(form->ActiveControl(), form->FindComponent(L"Later"));
}

TEST(FormReader, ASecondWindowOfOneDescriptionUnderOneOwnerGetsANumberedName) {
    TOwned<TComponent> owner(new TComponent(nullptr));
    const wchar_t* text = L"object F: TReaderForm\nend";
    std::vector<TReaderForm*> forms;
    for (int i = 0; i < 3; ++i) {
        forms.push_back(new TReaderForm(owner.get()));
        forms.back()->LoadDescriptionText(text, L"Twice");
    }
    EXPECT_EQ(forms[0]->Name(), L"F");
    EXPECT_EQ(forms[1]->Name(), L"F_1");
    EXPECT_EQ(forms[2]->Name(), L"F_2");
    // The name is free again once its window is gone.
    forms[0]->Free();
    auto* again = new TReaderForm(owner.get());
    again->LoadDescriptionText(text, L"Twice");
    EXPECT_EQ(again->Name(), L"F");
}

// A collection property: items created by the owner, their stored
// properties applied with the reader's rules.
class TColumn : public TObject {
  public:
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info = TClassBuilder<TColumn>(L"TColumn", &TObject::StaticClass())
                                            .Property(L"Width", &TColumn::Width, &TColumn::SetWidth)
                                            .Property(L"Title", &TColumn::Title, &TColumn::SetTitle)
                                            .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w; }
    std::wstring Title() const { return title_; }
    void SetTitle(const std::wstring& t) { title_ = t; }

  private:
    int width_ = 50;
    std::wstring title_;
};

class TColumnPanel : public TPanel {
  public:
    explicit TColumnPanel(TComponent* owner) : TPanel(owner) {}
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TColumnPanel>(L"TColumnPanel", &TPanel::StaticClass())
                .Custom(L"Columns",
                        [](TColumnPanel& self, const TValue& v) {
                            if (v.kind != TValue::Kind::Collection)
                                throw EPropertyError(L"a collection is expected");
                            self.columns.clear();
                            for (auto& item : *v.items) {
                                self.columns.push_back(std::make_unique<TColumn>());
                                ApplyStoredProperties(*self.columns.back(), item);
                            }
                        })
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    std::vector<std::unique_ptr<TColumn>> columns;
};

TEST(FormReader, CollectionsAndBinaryData) {
    TColumnPanel::StaticClass();
    TOwned<TReaderForm> form(new TReaderForm(nullptr));
    form->LoadDescriptionText(L"object F: TReaderForm\n"
                              L"  object Grid: TColumnPanel\n"
                              L"    Columns = <\n"
                              L"      item\n"
                              L"        Width = 80\n"
                              L"        Title = '日期'\n"
                              L"      end\n"
                              L"      item\n"
                              L"        Title = 'second'\n"
                              L"      end>\n"
                              L"  end\n"
                              L"end",
                              L"Columns");
    auto* grid = dynamic_cast<TColumnPanel*>(form->FindComponent(L"Grid"));
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->columns.size(), 2u);
    EXPECT_EQ(grid->columns[0]->Width(), 80);
    EXPECT_EQ(grid->columns[0]->Title(), L"日期");
    EXPECT_EQ(grid->columns[1]->Width(), 50);

    // A wrong item property still names the line.
    TOwned<TReaderForm> bad(new TReaderForm(nullptr));
    try {
        bad->LoadDescriptionText(L"object F: TReaderForm\n  object Grid: TColumnPanel\n"
                                 L"    Columns = <\n      item\n        Wide = 1\n      end>\n"
                                 L"  end\nend",
                                 L"Columns");
        ADD_FAILURE() << "no error";
    } catch (const EFormDescriptionError& e) {
        EXPECT_EQ(WideToUtf8(e.Message()),
                  "Form description Columns, line 5: unknown property 'Wide' of TColumn");
    }

    auto d = ParseFormDescription(L"object F: TForm\n  Data = {0A ff\n 10}\nend", L"Bin");
    EXPECT_EQ(d.properties[0].value.bytes, (std::vector<std::uint8_t>{0x0A, 0xFF, 0x10}));
}

TEST(FormReader, StringsWriteAnyUnicodeText) {
    auto d = ParseFormDescription(L"object F: TForm\n"
                                  L"  Caption = #$84DD#26697'&&'#$1F600\n"
                                  L"end",
                                  L"Text");
    ASSERT_EQ(d.properties.size(), 1u);
    EXPECT_EQ(d.properties[0].value.text, L"蓝桉&&\U0001F600");
    EXPECT_EQ(d.properties[0].line, 2);
}

} // namespace
