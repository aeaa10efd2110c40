// The demo form from resources/demo: laid out from its description, shown,
// timed, and saved as build/screens/framework-demo.png for a person to see.

#include "FrameworkTestSupport.h"

#include "framework/Screenshot.h"

#include <chrono>
#include <cstdio>

namespace {

class TDemoForm : public TForm {
  public:
    explicit TDemoForm(TComponent* owner) : TForm(owner) { LoadDescription(L"TDemoForm"); }
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TDemoForm>(L"TDemoForm", &TForm::StaticClass())
                .Handler(L"FormShow", &TDemoForm::FormShow)
                .Handler(L"CardClick", &TDemoForm::CardClick)
                .Field(L"Body", &TDemoForm::Body)
                .Field(L"Corner", &TDemoForm::Corner)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }

    void FormShow(TObject*) { ++shows; }
    void CardClick(TObject*) { ++cardClicks; }

    TPanel* Body = nullptr;
    TPanel* Corner = nullptr;
    int shows = 0;
    int cardClicks = 0;
};

TEST(DemoForm, BuiltFromItsDescriptionShownAndPictured) {
    auto start = std::chrono::steady_clock::now();
    TOwned<TDemoForm> form(new TDemoForm(nullptr));
    form->Show();
    UpdateWindow(form->Handle());
    auto shown = std::chrono::steady_clock::now();
    double ms = std::chrono::duration<double, std::milli>(shown - start).count();
    std::printf("demo form created and shown in %.1f ms\n", ms);
    RecordProperty("create_and_show_ms", std::to_string(ms));

    ASSERT_TRUE(form->Body && form->Corner);
    EXPECT_EQ(form->shows, 1);
    EXPECT_EQ(form->ClientWidth(), 480);
    EXPECT_EQ(form->ClientHeight(), 320);
    // Body fills what the header, footer and side bar leave.
    EXPECT_EQ(form->Body->Left(), 130);
    EXPECT_EQ(form->Body->Top(), 48);
    EXPECT_EQ(form->Body->Width(), 350);
    EXPECT_EQ(form->Body->Height(), 320 - 48 - 26);
    // The corner panel is anchored to the body's bottom right.
    int right = form->Body->ClientWidth() - form->Corner->Left() - form->Corner->Width();
    form->SetClientWidth(560);
    form->SetClientHeight(360);
    EXPECT_EQ(form->Body->ClientWidth() - form->Corner->Left() - form->Corner->Width(), right);
    form->SetClientWidth(480);
    form->SetClientHeight(320);

    auto* card = dynamic_cast<TPanel*>(form->FindComponent(L"Card"));
    ASSERT_TRUE(card);
    ClickAt(card->Handle(), 5, 5);
    EXPECT_EQ(form->cardClicks, 1);

    Pump();
    auto file = SaveWindowScreenshot(form->Handle(), L"framework-demo");
    std::printf("screenshot: %s\n", file.string().c_str());
    EXPECT_TRUE(std::filesystem::exists(file));
}

} // namespace
