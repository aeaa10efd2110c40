#pragma once

// A host window with a page control on it, pages made to order, clicks on
// the strip through its window procedure and pictures of what it paints.

#include "../support/HostForm.h"
#include "../support/Painted.h"
#include "../support/Rects.h"

#include "skin/controls/SUIPageControl.h"
#include "../support/TestFormFrame.h"

#include "framework/Forms.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace pages_test {

// A windowless child, for the rule that such controls come first.
class TestMark : public TGraphicControl {
  public:
    explicit TestMark(TComponent* owner) : TGraphicControl(owner) {}
};

inline void Click(TWinControl& control, int x, int y) {
    control.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    control.Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// A visible window holding one page control; pages are owned by the window.
class PagesHost {
  public:
    explicit PagesHost(int width = 400, int height = 200,
                       TsuiUIStyle style = TsuiUIStyle::BlueGlass)
        : form(new TForm(nullptr)) {
        form->SetBounds(40, 40, width + 40, height + 60);
        form->SetColor(clRed); // behind the tabs, easy to tell apart
        pc = Make<TsuiPageControl>(form.get(), 0, 0, width, height);
        pc->SetUIStyle(style);
        pc->OnChange = [this](TObject* s) {
            ++changes;
            EXPECT_EQ(pc, s);
        };
        pc->OnTabActive = [this](TObject*, int index) { activations.push_back(index); };
        form->Show();
        Application->ProcessMessages();
    }

    TsuiTabSheet* Add(const std::wstring& caption) {
        auto* page = new TsuiTabSheet(form.get());
        page->SetCaption(caption);
        page->SetParent(pc);
        return page;
    }
    // A page for each caption, in order: the last one added is active.
    template <size_t N> std::array<TsuiTabSheet*, N> Add(const wchar_t* const (&captions)[N]) {
        std::array<TsuiTabSheet*, N> pages;
        for (size_t i = 0; i < N; ++i)
            pages[i] = Add(captions[i]);
        return pages;
    }

    TsuiTabControlTopPanel& Strip() { return pc->TabPanel(); }
    // Paints the strip so the widths and the scroll offset are current.
    std::unique_ptr<TBitmap> PaintStrip() { return Painted(Strip()); }
    // Left edge of tab i as the last drawing placed it (all tabs before it drawn).
    int TabLeft(int index) {
        int x = pc->LeftMargin();
        int ordinal = 0;
        for (int i = 0; i < index; ++i) {
            if (Strip().TabWidth(i) <= 0) continue;
            if (++ordinal <= Strip().FirstShown()) continue;
            x += Strip().TabWidth(i);
        }
        return x;
    }
    void ResetCounts() {
        changes = 0;
        activations.clear();
    }

    TOwned<TForm> form;
    TsuiPageControl* pc = nullptr;
    int changes = 0;
    std::vector<int> activations;
};

} // namespace pages_test
