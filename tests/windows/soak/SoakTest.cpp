// A long random use of the main window, as a restless person would make it:
// clicks and double clicks anywhere, drags of the title bar and the grip,
// typing, pastes, Tab, Enter and Escape, tab switches and the four tool-bar
// commands, every modal window answered at random. After each step the
// window must answer a message, no error box but the number edit's may have
// appeared, and the totals must read as numbers; at the end nothing may have
// leaked or been written where it should not. A failure prints the seed and
// the last steps; LANAN_SOAK_SEED and LANAN_SOAK_ACTIONS replay the run.

#include "../support/MainWindow.h"
#include "../support/GdiObjects.h"
#include "../support/LongRun.h"
#include "../support/ScratchFolder.h"
#include "../support/WorkbookCheck.h"

#include "app/UPublicFunction.h"
#include "app/Uabout.h"
#include "framework/Exceptions.h"
#include "framework/Utils.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIStatusBar.h"

#include <psapi.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

using namespace main_window_test;
using namespace long_run;

namespace {

// What the counts may grow by between the 100th step and the last.
constexpr long kGdiMargin = 16;
constexpr long kWindowMargin = 2;
constexpr double kMemoryMarginMb = 12;

class Soak {
  public:
    Soak(TForm1* form, unsigned seed, long long steps, const ScratchFolder& scratch)
        : f_(form), seed_(seed), steps_(steps), rng_(seed), scratch_(scratch),
          hook_([this](TModalRequest& r) { Answer(r); }) {}

    // One random step and the checks after it; false once something failed.
    bool Step(long long index) {
        index_ = index;
        journal.Start("#" + std::to_string(index));
        static const std::vector<std::pair<int, void (Soak::*)()>> kinds = {
            {22, &Soak::Click},       {8, &Soak::ClickField}, {6, &Soak::DoubleClick},
            {2, &Soak::DragTitleBar}, {2, &Soak::DragGrip},   {16, &Soak::Type},
            {8, &Soak::TypeLikely},   {4, &Soak::Paste},      {7, &Soak::TabKey},
            {3, &Soak::EnterKey},     {2, &Soak::EscapeKey},  {6, &Soak::SwitchTab},
            {10, &Soak::Calculate},   {4, &Soak::Export},     {3, &Soak::SaveRates},
            {2, &Soak::About}};
        std::vector<int> weights;
        for (const auto& kind : kinds)
            weights.push_back(kind.first);
        std::discrete_distribution<int> pick(weights.begin(), weights.end());
        (this->*kinds[size_t(pick(rng_))].second)();
        CheckAfterStep();
        return !failed_ && !testing::Test::HasFailure();
    }

    // The report of a failure, or of a step that never ended.
    std::string Report(const std::string& why) const {
        return "soak failed at step " + std::to_string(index_) + " of " + std::to_string(steps_) +
               ", seed " + std::to_string(seed_) + ": " + why + "\nthe last steps:\n" +
               journal.Text() + "replay: scripts/soak " + std::to_string(index_ + 1) + " " +
               std::to_string(seed_) + "\n";
    }
    std::string Failure() const { return failure_; }

    Journal journal;
    int errorBoxes = 0; // the number edit's, the only one the program means to show
    std::map<std::wstring, int> messages;
    int computed = 0;             // calculations that showed no message
    std::set<std::wstring> named; // the workbooks the save dialog was answered with

  private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    void Note(const std::string& detail) { journal.Note(detail); }
    void Fail(const std::string& why) {
        if (failed_) return;
        failed_ = true;
        failure_ = Report(why);
    }

    // --- Steps

    void Click() { ClickSomewhere(false); }
    void DoubleClick() { ClickSomewhere(true); }

    // Fields take most of the typing, so a click into one is the likeliest.
    void ClickField() {
        std::vector<TsuiNumberEdit*> fields;
        for (int i = 0; i < f_->ComponentCount(); ++i)
            if (auto* e = dynamic_cast<TsuiNumberEdit*>(f_->Components(i));
                e && e->HandleAllocated() && IsWindowVisible(e->Handle()) &&
                IsWindowEnabled(e->Handle()))
                fields.push_back(e);
        if (fields.empty()) return ClickSomewhere(false);
        TsuiNumberEdit* field = fields[size_t(Below(int(fields.size())))];
        // Those of a hidden page are covered by the page in front.
        RECT r{};
        GetWindowRect(field->Handle(), &r);
        if (WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}) !=
            field->Handle()) {
            journal.Note(WideToUtf8(field->Name()) + " is covered");
            return;
        }
        journal.Note("click into " + WideToUtf8(field->Name()));
        const int x = Between(1, std::max(1, field->Width() - 2)),
                  y = Between(1, std::max(1, field->Height() - 2));
        ClickAt(field->Handle(), x, y);
        Pump();
    }

    void ClickSomewhere(bool twice) {
        journal.Note(twice ? "double click" : "click");
        if (TComboBox* combo = DroppedCombo(); combo && Chance(0.7)) {
            ClickListItem(combo);
            return;
        }
        RECT area{};
        GetWindowRect(f_->Handle(), &area);
        if (Chance(0.6)) {
            std::vector<TWinControl*> controls;
            for (int i = 0; i < f_->ComponentCount(); ++i)
                if (auto* c = dynamic_cast<TWinControl*>(f_->Components(i));
                    c && c->HandleAllocated() && IsWindowVisible(c->Handle()) &&
                    IsWindowEnabled(c->Handle()))
                    controls.push_back(c);
            if (!controls.empty())
                GetWindowRect(controls[size_t(Below(int(controls.size())))]->Handle(), &area);
        }
        const POINT s{Between(area.left, std::max(area.left, area.right - 1)),
                      Between(area.top, std::max(area.top, area.bottom - 1))};
        HWND target = WindowFromPoint(s);
        if (!Ours(target)) {
            Note("nothing of ours at " + std::to_string(s.x) + "," + std::to_string(s.y));
            return;
        }
        const LRESULT hit = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
        POINT p = s;
        ScreenToClient(target, &p);
        Note(ClassOf(target) + " " + std::to_string(p.x) + "," + std::to_string(p.y));
        if (hit != HTCLIENT) {
            // Borders and zones the system drags by: only real input moves them.
            Note("zone " + std::to_string(hit) + ", not clicked");
            return;
        }
        TsuiTitleBar& bar = f_->suiForm1->TitleBar();
        if (target == bar.Handle()) {
            const int button = bar.ButtonAt(p);
            // Closing ends the program; the control box opens the system's own menu loop.
            if (button >= 0 && (bar.Buttons(button).ButtonType() == suiClose ||
                                bar.Buttons(button).ButtonType() == suiControlBox)) {
                Note("close or control box, not clicked");
                return;
            }
        }
        SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        if (twice)
            DoubleClickAt(target, p.x, p.y);
        else
            ClickAt(target, p.x, p.y);
        Pump();
    }

    TComboBox* DroppedCombo() const {
        for (int i = 0; i < f_->ComponentCount(); ++i)
            if (auto* c = dynamic_cast<TComboBox*>(f_->Components(i));
                c && c->HandleAllocated() && c->DroppedDown())
                return c;
        return nullptr;
    }

    void ClickListItem(TComboBox* combo) {
        HWND list = combo->ListHandle();
        const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
        if (count <= 0) return;
        const int index = Below(count);
        Note("item " + std::to_string(index) + " of the list of " + WideToUtf8(combo->Name()));
        SendMessageW(list, LB_SETTOPINDEX, index, 0);
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
        const int x = item.left + 5, y = (item.top + item.bottom) / 2;
        SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        ClickAt(list, x, y);
        Pump();
    }

    // Real input: the system moves and sizes windows only while a button is really held.
    // Real input: the system moves and sizes windows only while a button is
    // really held. The pointer moves and lets go from another thread, as a
    // hand would, once the press has been taken: the system sends a release
    // to the window that holds the mouse at that moment, and the window only
    // holds it after the press.
    void RealDrag(POINT from, POINT to) {
        RECT before{};
        GetWindowRect(f_->Handle(), &before);
        SetCursorPos(from.x, from.y);
        Pump();
        std::atomic<bool> released{false};
        std::thread hand([&] {
            Sleep(100);
            INPUT in[2] = {};
            in[0].type = in[1].type = INPUT_MOUSE;
            in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            in[0].mi.dx = to.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
            in[0].mi.dy = to.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
            in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            SendInput(1, &in[0], sizeof(INPUT));
            Sleep(100);
            SendInput(1, &in[1], sizeof(INPUT));
            released = true;
        });
        INPUT press{};
        press.type = INPUT_MOUSE;
        press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        SendInput(1, &press, sizeof(INPUT));
        PumpUntil([&] { return released && !(GetKeyState(VK_LBUTTON) & 0x8000); }, 2000);
        hand.join();
        PumpUntil([] { return false; }, 30);
        if (GetKeyState(VK_LBUTTON) & 0x8000) Fail("the button stays down after the drag");
        RECT after{};
        GetWindowRect(f_->Handle(), &after);
        Note("window " + std::to_string(after.left) + "," + std::to_string(after.top) + " " +
             std::to_string(after.right - after.left) + "x" +
             std::to_string(after.bottom - after.top));
    }

    POINT OnScreen(POINT p) const {
        return POINT{std::clamp<LONG>(p.x, 5, GetSystemMetrics(SM_CXSCREEN) - 5),
                     std::clamp<LONG>(p.y, 5, GetSystemMetrics(SM_CYSCREEN) - 5)};
    }

    void DragTitleBar() {
        TsuiTitleBar& bar = f_->suiForm1->TitleBar();
        const auto layout = bar.Layout();
        const int x = layout.captionRight - layout.captionLeft > 8
                          ? Between(layout.captionLeft + 2, layout.captionRight - 2)
                          : bar.Width() / 2;
        const POINT from = bar.ClientToScreen(POINT{x, bar.Height() / 2});
        // Moved a little, so that the window stays on the screen.
        RECT r{};
        GetWindowRect(f_->Handle(), &r);
        const int dx = std::clamp(Between(-80, 80), int(-r.left),
                                  int(GetSystemMetrics(SM_CXSCREEN) - r.right));
        const int dy = std::clamp(Between(-60, 60), int(-r.top),
                                  int(GetSystemMetrics(SM_CYSCREEN) - r.bottom));
        journal.Note("drag the title bar by " + std::to_string(dx) + "," + std::to_string(dy));
        RealDrag(from, OnScreen(POINT{from.x + dx, from.y + dy}));
    }

    void DragGrip() {
        TsuiStatusBar& status = *f_->suiStatusBar1;
        const RECT grip = status.GripRect();
        if (IsRectEmpty(&grip)) {
            journal.Note("no grip to drag (maximized)");
            return;
        }
        const POINT from = status.ClientToScreen(
            POINT{(grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2});
        // Drawn back towards the first size, so the controls stay in reach.
        const int dx = Between(-90, 90) + (913 - f_->Width()) / 3;
        const int dy = Between(-70, 70) + (718 - f_->Height()) / 3;
        journal.Note("drag the grip by " + std::to_string(dx) + "," + std::to_string(dy));
        RealDrag(from, OnScreen(POINT{from.x + dx, from.y + dy}));
    }

    HWND Focused() {
        HWND focus = GetFocus();
        if (Ours(focus)) return focus;
        Note("no focus, keys to the window");
        return f_->Handle();
    }

    void Type() {
        HWND focus = Focused();
        std::wstring text;
        const int length = Between(1, 8);
        for (int i = 0; i < length; ++i) {
            const int kind = Below(20);
            if (kind < 12)
                text += wchar_t(L'0' + Below(10));
            else if (kind == 12)
                text += DecimalSeparator();
            else if (kind == 13)
                text += L"-+eE"[Below(4)];
            else if (kind == 14)
                text += L"aZx ,"[Below(5)];
            else if (kind == 15)
                text += L"贷款元年"[Below(4)];
            else if (kind == 16)
                text += L'\b';
            else
                text += wchar_t(L'0' + Below(10));
        }
        const bool all = Chance(0.3);
        journal.Note("type " + Quoted(text) + (all ? " over all" : "") + " into " + ClassOf(focus));
        if (all) SendMessageW(focus, EM_SETSEL, 0, -1);
        for (wchar_t ch : text)
            PostMessageW(focus, WM_CHAR, ch, 1);
        Pump();
    }

    // A number that suits the focused field, typed over its text, so that
    // calculations get far enough to fill the grids.
    void TypeLikely() {
        HWND focus = Focused();
        auto* field = dynamic_cast<TsuiNumberEdit*>(TWinControl::FindControl(focus));
        if (!field) return Type();
        std::wstring text;
        if (field->Mask() == L"0")
            text = std::to_wstring(Between(0, 400));
        else if (field->Mask() == L"0.000")
            text = std::to_wstring(Between(0, 12)) + DecimalSeparator() +
                   std::to_wstring(Between(0, 999));
        else
            text = std::to_wstring(Between(0, 3000000)) +
                   (Chance(0.5) ? DecimalSeparator() + std::to_wstring(Between(0, 99)) : L"");
        journal.Note("type " + Quoted(text) + " over " + WideToUtf8(field->Name()));
        SendMessageW(focus, EM_SETSEL, 0, -1);
        for (wchar_t ch : text)
            PostMessageW(focus, WM_CHAR, ch, 1);
        Pump();
    }

    void Paste() {
        HWND focus = Focused();
        std::wstring text;
        switch (Below(8)) {
        case 0:
            text = std::wstring(size_t(Between(20, 400)), L'9');
            break;
        case 1:
            text = L"1e" + std::to_wstring(Between(300, 400));
            break;
        case 2:
            text = L"1" + std::wstring(1, DecimalSeparator()) + L"5e-" +
                   std::to_wstring(Between(300, 400));
            break;
        case 3:
            for (int i = 0; i < 40; ++i)
                text += L"abc xyz ";
            break;
        case 4:
            for (int i = 0; i < 60; ++i)
                text += L"提前还贷";
            break;
        case 5:
            text = std::to_wstring(Between(1, 99999)) + std::wstring(1, DecimalSeparator()) +
                   std::wstring(size_t(Between(10, 300)), L'7');
            break;
        case 6:
            text = L"-" + std::to_wstring(Between(1, 99999));
            break;
        default:
            text = L"  " + std::to_wstring(Between(0, 999999)) + L"  ";
            break;
        }
        SetClipboardText(text);
        const bool keys = Chance(0.5);
        journal.Note(std::string(keys ? "Ctrl+V " : "WM_PASTE ") + Quoted(text) + " (" +
                     std::to_string(text.size()) + " chars) into " + ClassOf(focus));
        if (keys) {
            HeldKeys held(false, true);
            const LPARAM lp = 1 | LPARAM(MapVirtualKeyW('V', MAPVK_VK_TO_VSC) << 16);
            PostMessageW(focus, WM_KEYDOWN, 'V', lp);
            PostMessageW(focus, WM_KEYUP, 'V', lp | LPARAM(0xC0000000));
            Pump();
        } else {
            SendMessageW(focus, WM_PASTE, 0, 0);
            Pump();
        }
    }

    void Key(WORD vk, bool shift, const char* name) {
        HWND focus = Focused();
        journal.Note(std::string(name) + " in " + ClassOf(focus));
        HeldKeys held(shift, false);
        const LPARAM lp = 1 | LPARAM(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
        PostMessageW(focus, WM_KEYDOWN, vk, lp);
        PostMessageW(focus, WM_KEYUP, vk, lp | LPARAM(0xC0000000));
        Pump();
    }
    void TabKey() {
        const bool back = Chance(0.4);
        Key(VK_TAB, back, back ? "Shift+Tab" : "Tab");
    }
    void EnterKey() { Key(VK_RETURN, false, "Enter"); }
    void EscapeKey() { Key(VK_ESCAPE, false, "Escape"); }

    void SwitchTab() {
        const int page = Below(3);
        journal.Note("tab " + std::to_string(page));
        ClickTab(f_->suiPageControl1, page);
    }

    void Tool(TToolButton* button, const char* name) {
        journal.Note(name);
        if (!button->Visible()) {
            Note("hidden on this tab");
            return;
        }
        ClickTool(button);
    }
    void Calculate() {
        const int shown = shown_;
        Tool(f_->TBjs, "计算");
        if (f_->TBjs->Visible() && shown_ == shown) ++computed;
    }
    void SaveRates() { Tool(f_->TBbcnll, "存档"); }
    void About() { Tool(f_->ToolButton1, "关于"); }
    void Export() {
        exported_.clear();
        Tool(f_->TBdc, "导出");
        if (exported_.empty()) return;
        // The workbook holds what the grid showed.
        const bool first = f_->suiPageControl1->ActivePage() == f_->suiTabSheet1;
        ExpectFileHoldsTheGrid(exported_, first ? *f_->suiSG1 : *f_->suiSG2);
    }

    // --- Modal windows

    void Answer(TModalRequest& r) {
        if (r.kind == TModalKind::SaveDialog) {
            AnswerSaveDialog(r);
        } else if (r.kind == TModalKind::MessageBox) {
            AnswerMessageBox(r);
        } else if (dynamic_cast<TfrmMsg*>(r.form)) {
            AnswerMessage(*r.form);
        } else if (auto* about = dynamic_cast<TfrmAbout*>(r.form)) {
            AnswerAbout(*about);
        } else {
            Fail("an unexpected modal window");
            if (r.form) r.form->SetModalResult(mrCancel);
            r.answered = true;
            r.result = IDCANCEL;
        }
    }

    void AnswerSaveDialog(TModalRequest& r) {
        r.answered = true;
        const std::vector<std::wstring> existing = scratch_.Files();
        const int choice = Below(10);
        std::wstring name;
        if (choice < 2) {
            Note("save dialog cancelled");
            r.result = 0;
            return;
        }
        if (choice < 5)
            name = scratch_ / (r.fileName + L".xls");
        else if (choice < 7 && !existing.empty())
            name = scratch_ / existing[size_t(Below(int(existing.size())))];
        else if (choice < 9)
            name = scratch_ / (L"表" + std::to_wstring(Below(5)) + L".xls");
        else
            name = L"相对" + std::to_wstring(Below(3)) + L".xls"; // in the current folder
        Note("save as " + WideToUtf8(name));
        pendingFile_ = name.find(L'\\') == std::wstring::npos ? scratch_ / name : name;
        named.insert(pendingFile_.substr(pendingFile_.find_last_of(L'\\') + 1));
        r.fileName = name;
        r.result = 1;
    }

    void AnswerMessageBox(TModalRequest& r) {
        r.answered = true;
        r.result = IDOK;
        if (r.caption == L"消息") {
            // The export's own questions.
            if (r.flags & MB_OKCANCEL) r.result = Chance(0.5) ? IDOK : IDCANCEL;
            Note("box " + Quoted(r.text) + (r.result == IDOK ? " OK" : " Cancel"));
            return;
        }
        // The general error box: only the number edit's refusal is meant.
        static const std::wstring kRefused = L"' is not a valid floating point value";
        const bool refused =
            r.text.size() > kRefused.size() + 1 && r.text[0] == L'\'' &&
            r.text.compare(r.text.size() - kRefused.size(), kRefused.size(), kRefused) == 0;
        Note("error box " + Quoted(r.text));
        if (refused)
            ++errorBoxes;
        else
            Fail("an exception escaped: " + WideToUtf8(r.text));
    }

    void AnswerMessage(TForm& window) {
        const std::wstring text = f_->suiMessageDialog1->Text();
        ++messages[text];
        ++shown_;
        if (text == L"导出成功！") exported_ = pendingFile_;
        if (text == L"导出失败！") Fail("the export failed");
        TsuiButton* ok = nullptr;
        TsuiForm* frame = nullptr;
        for (int i = 0; i < window.ComponentCount(); ++i) {
            if (auto* b = dynamic_cast<TsuiButton*>(window.Components(i))) ok = b;
            if (auto* fr = dynamic_cast<TsuiForm*>(window.Components(i))) frame = fr;
        }
        // Keys go where the focus is; a window opened from another's loop may take a moment.
        const bool focused = PumpUntil(
            [&] { return GetFocus() == window.Handle() || IsChild(window.Handle(), GetFocus()); },
            500);
        std::string how;
        int answer = Below(6);
        if (!focused && answer <= 1) {
            Note("no focus in the message window");
            answer = 5;
        }
        switch (answer) {
        case 0:
            how = "Enter";
            SendKey(GetFocus(), VK_RETURN);
            break;
        case 1:
            how = "Space";
            SendKey(GetFocus(), VK_SPACE);
            break;
        case 2:
            how = "title-bar close";
            if (frame) ClickTitleButton(*frame, suiClose);
            break;
        case 3:
            how = "Ctrl+C, OK";
            SendKey(GetFocus(), 'C', false, true);
            if (ok) main_window_test::Click(ok);
            break;
        case 4:
            how = "Escape, OK";
            SendKey(GetFocus(), VK_ESCAPE);
            if (ok) main_window_test::Click(ok);
            break;
        default:
            how = "OK";
            if (ok) main_window_test::Click(ok);
            break;
        }
        Note("message " + Quoted(text) + " " + how);
        if (!PumpUntil([&] { return window.ModalResult() != mrNone; }, 1000)) {
            Fail("the message window stayed open after " + how);
            window.SetModalResult(mrCancel);
        }
    }

    void ClickTitleButton(TsuiForm& frame, TsuiTitleBarBtnType type) {
        TsuiTitleBar& bar = frame.TitleBar();
        for (const auto& place : bar.Layout().buttons)
            if (bar.Buttons(place.index).ButtonType() == type) {
                ClickAt(bar.Handle(), (place.rect.left + place.rect.right) / 2,
                        (place.rect.top + place.rect.bottom) / 2);
                Pump();
                return;
            }
    }

    void AnswerAbout(TfrmAbout& about) {
        Pump();
        HWND memo = about.suiMemo1->Handle();
        RECT r{};
        GetClientRect(memo, &r);
        const int x = Between(5, std::max(5, int(r.right) - 5)),
                  y = Between(5, std::max(5, int(r.bottom) - 5));
        std::string how;
        switch (Below(4)) {
        case 0:
            how = "type, then double click";
            about.suiMemo1->SetFocus();
            TypeChars(memo, L"改一改12");
            DoubleClickAt(memo, x, y);
            break;
        case 1:
            how = "a click, then title-bar close";
            ClickAt(memo, x, y);
            Pump();
            if (about.ModalResult() != mrNone) Fail("a single click closed the About window");
            ClickTitleButton(*about.suiForm1, suiClose);
            break;
        case 2:
            how = "title-bar close";
            ClickTitleButton(*about.suiForm1, suiClose);
            break;
        default:
            how = "double click";
            DoubleClickAt(memo, x, y);
            break;
        }
        Note("About " + how);
        if (!PumpUntil([&] { return about.ModalResult() != mrNone; }, 1000)) {
            Fail("the About window stayed open after " + how);
            about.SetModalResult(mrCancel);
        }
    }

    // --- Checks

    void CheckAfterStep() {
        if (IsIconic(f_->Handle())) {
            Note("restored from the task bar");
            ShowWindow(f_->Handle(), SW_RESTORE);
            SetForegroundWindow(f_->Handle());
            Pump();
        }
        if (!watchdog_->WindowAnswers()) Fail("the window did not answer WM_NULL within 2 s");
        if (!IsWindowVisible(f_->Handle())) Fail("the main window is gone");
        if (!IsWindowEnabled(f_->Handle())) Fail("the main window stays disabled");
        // The totals above all, but no field may show anything but a number.
        for (int i = 0; i < f_->ComponentCount(); ++i)
            if (auto* field = dynamic_cast<TsuiNumberEdit*>(f_->Components(i));
                field && !FiniteText(field->Text()))
                Fail(WideToUtf8(field->Name()) + " shows " + Quoted(field->Text()));
        for (TStringGrid* grid :
             {static_cast<TStringGrid*>(f_->suiSG1), static_cast<TStringGrid*>(f_->suiSG2)})
            for (int row = 1; row < grid->RowCount(); ++row)
                for (int col = 1; col < grid->ColCount(); ++col)
                    if (!FiniteText(grid->Cells(col, row)))
                        Fail(WideToUtf8(grid->Name()) + " row " + std::to_string(row) + " shows " +
                             Quoted(grid->Cells(col, row)));
    }

  public:
    Watchdog* watchdog_ = nullptr;

  private:
    TForm1* f_;
    unsigned seed_;
    long long steps_;
    long long index_ = 0;
    std::mt19937 rng_;
    const ScratchFolder& scratch_;
    bool failed_ = false;
    std::string failure_;
    std::wstring pendingFile_, exported_;
    int shown_ = 0;
    TScopedModalHook hook_;
};

struct Figures {
    DWORD gdi;
    long windows;
    double memory;
};

Figures Measure() {
    return Figures{GdiObjects(), ThreadWindows(), PrivateMegabytes()};
}

// The figures of the window in its first place and size: a maximized
// window's bitmaps and surfaces alone take some 20 MB more.
Figures MeasureAtFirstSize(TForm1* f, const RECT& first) {
    if (IsZoomed(f->Handle())) ShowWindow(f->Handle(), SW_RESTORE);
    f->SetBounds(first.left, first.top, first.right - first.left, first.bottom - first.top);
    Pump();
    return Measure();
}

std::string Describe(const Figures& f) {
    char text[96];
    std::snprintf(text, sizeof text, "GDI %lu, windows %ld, private %.1f MB", f.gdi, f.windows,
                  f.memory);
    return text;
}

} // namespace

TEST(Soak, RandomUseOfTheMainWindow) {
    const long long steps = FromEnvironment("LANAN_SOAK_ACTIONS", 1000);
    const auto seed = unsigned(FromEnvironment("LANAN_SOAK_SEED", 20261208));
    Application->SetTitle(L"蓝桉房贷按揭计算器");
    const std::wstring settings = GetSettingsFileName();
    SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(settings.c_str());
    const auto exeFolderBefore = FolderListing(ExeDirectory());

    ScratchFolder scratch(L"lanan-soak");
    // Wine reuses process ids: a run that was stopped may have left its files.
    for (const std::wstring& name : scratch.Files())
        DeleteFileW((scratch / name).c_str());
    wchar_t previousFolder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previousFolder);
    SetCurrentDirectoryW(scratch.path.c_str());

    const auto begin = std::chrono::steady_clock::now();
    Figures start{}, after100{}, end{};
    long long done = 0;
    std::string failure;
    std::map<std::wstring, int> messages;
    int errorBoxes = 0, computed = 0;
    std::set<std::wstring> named;
    {
        MainWindow w;
        Soak soak(w.get(), seed, steps, scratch);
        Watchdog watchdog(w->Handle(), [&soak] { return soak.Report("the step never ended"); });
        soak.watchdog_ = &watchdog;
        RECT first{};
        GetWindowRect(w->Handle(), &first);
        start = after100 = Measure();
        const bool trace = std::getenv("LANAN_SOAK_TRACE") != nullptr;
        for (long long i = 0; i < steps; ++i) {
            watchdog.StepStarted();
            const bool fine = soak.Step(i);
            watchdog.StepEnded();
            done = i + 1;
            if (!fine) {
                failure =
                    soak.Failure().empty() ? soak.Report("a check above failed") : soak.Failure();
                break;
            }
            if (done == 100) after100 = MeasureAtFirstSize(w.get(), first);
            // A long run shows how it goes.
            // LANAN_SOAK_TRACE prints every step with the figures after it.
            if (trace)
                std::printf("%s; %s\n", soak.journal.Last().c_str(), Describe(Measure()).c_str());
            if (done % 1000 == 0 && done < steps)
                std::printf(
                    "soak: step %lld, %.0f s, %s\n", done,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(),
                    Describe(Measure()).c_str()),
                    std::fflush(stdout);
        }
        end = MeasureAtFirstSize(w.get(), first);
        messages = soak.messages;
        errorBoxes = soak.errorBoxes;
        named = soak.named;
        computed = soak.computed;
    }
    SetCurrentDirectoryW(previousFolder);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

    std::printf("soak: seed %u, %lld of %lld steps in %.1f s\n", seed, done, steps, seconds);
    std::printf("  start:     %s\n  step 100:  %s\n  end:       %s\n", Describe(start).c_str(),
                Describe(after100).c_str(), Describe(end).c_str());
    std::printf("  schedules computed: %d, error boxes of the number edit: %d\n", computed,
                errorBoxes);
    for (const auto& [text, count] : messages)
        std::printf("  %4d x %s\n", count, WideToUtf8(text).c_str());
    std::fflush(stdout);
    ASSERT_TRUE(failure.empty()) << failure;

    EXPECT_LE(long(end.gdi), long(after100.gdi) + kGdiMargin) << "GDI objects leak";
    EXPECT_LE(end.windows, after100.windows + kWindowMargin) << "windows leak";
    EXPECT_LE(end.memory, after100.memory + kMemoryMarginMb) << "memory leaks";

    // The rates, if saved, read back as 30 numbers.
    if (GetFileAttributesW(settings.c_str()) != INVALID_FILE_ATTRIBUTES) {
        for (int k = 1; k <= 30; ++k) {
            const std::wstring text =
                ReadSetting(L"PERCENTS", L"percent" + std::to_wstring(k), L"");
            double v = 0;
            EXPECT_TRUE(TryStrToFloat(text, v) && std::isfinite(v))
                << "percent" << k << " = " << WideToUtf8(text);
        }
        SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(settings.c_str());
    }
    // Nothing written beside the program but the settings file.
    auto exeFolderAfter = FolderListing(ExeDirectory());
    EXPECT_EQ(exeFolderBefore, exeFolderAfter) << "files written beside the program";
    // Only the workbooks the save dialog named, each readable.
    for (const std::wstring& name : scratch.Files()) {
        EXPECT_TRUE(named.count(name))
            << "a file nobody named: " << WideToUtf8(name) << " (" << named.size() << " named)";
        const std::string bytes = FileBytes(scratch / name);
        EXPECT_NO_THROW(xlstest::ReadXls(xlstest::Bytes(bytes.begin(), bytes.end())))
            << WideToUtf8(name);
    }
}
