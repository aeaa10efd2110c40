// Forms: modal runs answered through the seam, closing by the title bar,
// OnClose and OnCloseQuery, the application loop, and no GDI leaks.

#include "FrameworkTestSupport.h"

#include "framework/Timer.h"

namespace {

struct ModalAnswer {
    std::function<void(TForm&)> answer;
    int calls = 0;
    TScopedModalHook hook{[this](TModalRequest& r) {
        ASSERT_EQ(r.kind, TModalKind::Form);
        ++calls;
        answer(*r.form);
    }};
};

TEST(ShowModal, AnsweredThroughTheSeamWithOtherWindowsDisabled) {
    TOwned<TForm> owner(new TForm(nullptr));
    owner->Show();
    TOwned<TForm> dialog(new TForm(nullptr));
    dialog->SetBorderStyle(bsDialog);
    int shows = 0;
    dialog->OnShow = [&](TObject*) { ++shows; };
    bool ownerEnabledMeanwhile = true, dialogVisibleMeanwhile = false;
    ModalAnswer a;
    a.answer = [&](TForm& f) {
        ownerEnabledMeanwhile = IsWindowEnabled(owner->Handle()) != FALSE;
        dialogVisibleMeanwhile = IsWindowVisible(f.Handle()) != FALSE && f.Modal();
        f.SetModalResult(mrOk);
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(shows, 1);
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(dialogVisibleMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_FALSE(dialog->Modal());

    // Shown again, it runs again; a visible form cannot be made modal.
    a.answer = [](TForm& f) { f.SetModalResult(mrYes); };
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_THROW(owner->ShowModal(), EInvalidOperation);
}

TEST(ShowModal, ClosedByTheTitleBarGivesCancel) {
    TOwned<TForm> dialog(new TForm(nullptr));
    ModalAnswer a;
    a.answer = [](TForm& f) { PostMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); };
    EXPECT_EQ(dialog->ShowModal(), 2);
    a.answer = [](TForm& f) { PostMessageW(f.Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(a.calls, 2);
    EXPECT_TRUE(dialog->HandleAllocated()); // hidden, not destroyed
}

TEST(ShowModal, OnCloseCanRefuseAndTheNestedRunEndsLater) {
    TOwned<TForm> dialog(new TForm(nullptr));
    int closeAsked = 0;
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        if (++closeAsked == 1) action = caNone;
    };
    TOwned<TTimer> timer(new TTimer(nullptr));
    timer->SetInterval(20);
    timer->SetEnabled(false);
    ModalAnswer a;
    a.answer = [&](TForm& f) {
        f.SetModalResult(mrAbort); // refused by OnClose: the loop goes on
        timer->OnTimer = [&](TObject*) {
            timer->SetEnabled(false);
            f.SetModalResult(mrRetry);
        };
        timer->SetEnabled(true);
    };
    EXPECT_EQ(dialog->ShowModal(), mrRetry);
    EXPECT_EQ(closeAsked, 2);
}

TEST(Close, QueryActionsAndRelease) {
    TOwned<TForm> form(new TForm(nullptr));
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Visible());
    allow = true;
    form->Close();
    EXPECT_FALSE(form->Visible());

    // caFree: released once the current message is done.
    bool destroyed = false;
    auto* released = new TForm(nullptr);
    released->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    released->OnDestroy = [&](TObject*) { destroyed = true; };
    released->Show();
    PostMessageW(released->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return destroyed; }));
}

TEST(Application, RunEndsWhenTheMainFormCloses) {
    TApplication app;
    TApplication* saved = Application;
    Application = &app;
    TForm* main = nullptr;
    app.CreateForm(main);
    ASSERT_EQ(app.MainForm(), main);
    main->SetCaption(L"主窗口");
    int shows = 0;
    main->OnShow = [&](TObject*) {
        ++shows;
        PostMessageW(main->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    bool sawMessage = false;
    app.OnMessage = [&](MSG&, bool&) { sawMessage = true; };
    app.Run();
    Application = saved;
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(sawMessage);
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
}

TEST(Forms, BorderStyleClientSizeAndPosition) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(bsDialog);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    form->SetPosition(poScreenCenter);
    form->Constraints().SetMinWidth(200);
    form->Show();
    RECT r;
    GetClientRect(form->Handle(), &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);
    LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    int screenW = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_NEAR(form->Left() + form->Width() / 2, screenW / 2, 1);

    form->SetBorderStyle(bsNone);
    style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_CAPTION);
    form->SetWidth(50); // the minimum width holds
    EXPECT_EQ(form->Width(), 200);
}

TEST(Timer, FiresThroughTheLoopUntilDisabled) {
    TOwned<TTimer> timer(new TTimer(nullptr));
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, timer.get());
        if (++ticks == 3) timer->SetEnabled(false);
    };
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    Sleep(60);
    Pump();
    EXPECT_EQ(ticks, 3);

    // An error in OnTimer is reported, and the timer goes on.
    MessageBoxRecorder rec;
    ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 1) throw EConvertError(L"tick");
    };
    timer->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    timer->SetEnabled(false);
    ASSERT_EQ(rec.seen.size(), 1u);
    EXPECT_EQ(rec.seen[0].text, L"tick");
}

TEST(Forms, ActivationRestoresTheLastFocusedControl) {
    TOwned<TForm> a(new TForm(nullptr)), b(new TForm(nullptr));
    auto* first = Make<TPanel>(a.get(), a.get());
    first->SetTabStop(true);
    auto* second = Make<TPanel>(a.get(), a.get());
    second->SetTabStop(true);
    second->SetTop(50);
    int activations = 0;
    a->OnActivate = [&](TObject*) { ++activations; };
    a->SetActiveControl(second); // before showing: taken when shown
    a->Show();
    ASSERT_TRUE(PumpUntil([&] { return a->Active(); }));
    EXPECT_TRUE(second->Focused());
    b->Show();
    ASSERT_TRUE(PumpUntil([&] { return b->Active() && !a->Active(); }));
    SetActiveWindow(a->Handle());
    ASSERT_TRUE(PumpUntil([&] { return a->Active(); }));
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(activations, 2);
    // A freed control is no longer the active one.
    second->Free();
    EXPECT_EQ(a->ActiveControl(), nullptr);
}

// A form with children, shown and painted, then freed: the process keeps
// no GDI object of it.
TEST(Resources, NoGdiObjectLeftAfterAHundredForms) {
    auto once = [] {
        TOwned<TForm> form(new TForm(nullptr));
        form->SetCaption(L"泄漏");
        form->Font().SetStyle({fsBold});
        for (int i = 0; i < 3; ++i) {
            auto* p = Make<TPanel>(form.get(), form.get());
            p->SetAlign(i == 2 ? alClient : alTop);
            p->SetCaption(L"面板");
            p->SetColor(0x00E7E7E7 + TColor(i));
            auto* inner = Make<TPanel>(form.get(), p);
            inner->SetBevelInner(bvLowered);
            inner->SetCaption(L"inner");
        }
        form->Show();
        UpdateWindow(form->Handle());
        Pump();
        form->Canvas().TextOut(0, 0, L"x"); // a borrowed DC, given back after the message
    };
    once(); // classes, stock objects and caches settle first
    Pump();
    int before = ProcessGdiObjectCount();
    for (int i = 0; i < 100; ++i)
        once();
    Pump();
    EXPECT_EQ(ProcessGdiObjectCount(), before);
}

} // namespace
