#include "skin/controls/SUIPageControl.h"

#include "framework/Forms.h"

#include <algorithm>

// ---------------------------------------------------------------------------

const TClassInfo& TsuiPageControlTopPanel::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiPageControlTopPanel>(L"TsuiPageControlTopPanel",
                                               &TsuiTabControlTopPanel::StaticClass())
            .Build();
    return info;
}

// ---------------------------------------------------------------------------

const TClassInfo& TsuiPageControl::StaticClass() {
    using T = TsuiPageControl;
    static const TClassInfo& info =
        TClassBuilder<T>(L"TsuiPageControl", &TsuiTab::StaticClass())
            .Component(L"ActivePage", &T::ActivePage, &T::SetActivePage)
            .Custom(
                L"PageCount",
                [](T&, const TValue&) { throw EPropertyError(L"PageCount is read-only"); },
                [](T& self) { return TValue::Int(self.PageCount()); })
            .Custom(
                L"Pages", [](T& self, const TValue& v) { self.SetStoredPageNames(v); },
                [](T& self) { return self.StoredPageNames(); })
            .Build();
    return info;
}

TsuiPageControl::TsuiPageControl(TComponent* owner) : TsuiTab(owner) {
    ConstructTabPanel();
    // The tabs are exactly the pages' captions.
    TabPanel().Tabs().Clear();
}

TsuiPageControl::~TsuiPageControl() {
    MarkDestroying();
    // The pages outlive us only as plain panels; none may call back.
    for (TsuiTabSheet* page : pages_) {
        page->pageControl_ = nullptr;
        page->pageIndex_ = -1;
    }
    pages_.clear();
    activePage_ = nullptr;
}

TsuiTabControlTopPanel* TsuiPageControl::CreateTabPanel() {
    return new TsuiPageControlTopPanel(nullptr, this);
}

int TsuiPageControl::ActivePageIndex() const {
    return activePage_ ? activePage_->PageIndex() : 0;
}

void TsuiPageControl::SetActivePage(TsuiTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    if (activePage_) activePage_->SetEnabled(false);
    activePage_ = page;
    if (!page) return;
    SelectTab(page->PageIndex());
    // TabActivated may have run handlers; the page asked for is still the one to show.
    activePage_ = page;
    ShowActivePage();
}

void TsuiPageControl::ActivateByIndex(int index) {
    if (activePage_) activePage_->SetEnabled(false);
    if (index < 0 || index >= PageCount()) {
        activePage_ = nullptr;
        return;
    }
    SelectTab(index);
    activePage_ = pages_[size_t(index)];
    ShowActivePage();
}

void TsuiPageControl::ShowActivePage() {
    TsuiTabSheet* page = activePage_;
    if (!page) return;
    if (page->HandleAllocated()) page->CreateChildHandles();
    page->SetVisible(true);
    page->SetEnabled(true);
    page->BringToFront();
    page->Invalidate();
    page->DoShow();
}

void TsuiPageControl::TabActivated(int index) {
    if (activePage_) activePage_->SetEnabled(false);
    activePage_ = index >= 0 && index < PageCount() ? pages_[size_t(index)] : nullptr;
    if (TsuiTabSheet* page = activePage_) {
        if (page->HandleAllocated()) page->CreateChildHandles();
        page->SetVisible(true);
        page->SetEnabled(true);
        page->BringToFront();
        page->Invalidate();
        if (!Loading()) FocusFirstControl(*page);
        page->DoShow();
    }
    TsuiTab::TabActivated(index);
}

void TsuiPageControl::FocusFirstControl(TsuiTabSheet& page) {
    if (page.ControlCount() == 0) return;
    // Windowless controls count first, as labels and splitters do in a form's own order.
    TControl* first = nullptr;
    for (int i = 0; i < page.ControlCount() && !first; ++i)
        if (!dynamic_cast<TWinControl*>(page.Controls(i))) first = page.Controls(i);
    if (!first) first = page.Controls(0);
    auto* windowed = dynamic_cast<TWinControl*>(first);
    if (!windowed || !windowed->Visible() || !windowed->CanFocus()) return;
    if (TForm* form = GetParentForm(this)) form->SetActiveControl(windowed);
}

bool TsuiPageControl::DialogKey(WORD key, TShiftState shift) {
    if (key != VK_TAB || !(shift == TShiftState{ssCtrl} || shift == TShiftState{ssCtrl, ssShift}))
        return TsuiTab::DialogKey(key, shift);
    const int count = PageCount();
    if (count == 0 || !Visible() || !Enabled()) return false;
    const int step = shift.Contains(ssShift) ? count - 1 : 1;
    int index = ActivePageIndex();
    for (int i = 0; i < count; ++i) {
        index = (index + step) % count;
        if (Pages(index)->TabVisible()) break;
    }
    TabPanel().SetTabIndex(index);
    // The focus goes along, so the keys reach the page now in front.
    if (activePage_ && !activePage_->ContainsControl(FindControl(GetFocus())))
        if (TWinControl* first = activePage_->FindNextControl(nullptr, true, true))
            first->SetFocus();
    return true;
}

void TsuiPageControl::BorderColorChanged() {
    if (activePage_) activePage_->Invalidate();
}

void TsuiPageControl::UpdateChildrenStyle(TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    for (TsuiTabSheet* page : pages_) {
        ApplyStyleToChildren(*page, style, fileTheme);
        page->SetColor(Color());
        page->SetAlign(alClient);
    }
}

void TsuiPageControl::ColorChanged() {
    TsuiTab::ColorChanged();
    for (TsuiTabSheet* page : pages_)
        page->SetColor(Color());
}

void TsuiPageControl::CreateHandleDone() {
    TsuiTab::CreateHandleDone();
    // Windows created later stack below the earlier ones; the page in front
    // must be in front on screen too.
    if (activePage_ && activePage_->HandleAllocated())
        SetWindowPos(activePage_->Handle(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TsuiPageControl::InsertPage(TsuiTabSheet* page) {
    page->pageControl_ = this;
    page->SetColor(Color());
    pages_.push_back(page);
    RenumberPages();
    RebuildTabs();
    SetActivePage(page);
}

void TsuiPageControl::RemovePage(TsuiTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const int removed = int(it - pages_.begin());
    pages_.erase(it);
    page->pageControl_ = nullptr;
    page->pageIndex_ = -1;
    const bool wasActive = activePage_ == page;
    // The leaving page keeps its state; it is no longer ours to disable.
    if (wasActive) activePage_ = nullptr;
    RenumberPages();
    RebuildTabs();
    if (Destroying()) return;
    if (wasActive) {
        // The page before it, or the new first page when it led.
        ActivateByIndex(removed > 0 ? removed - 1 : (PageCount() > 0 ? 0 : -1));
    } else if (activePage_) {
        // The same page stays in front; its tab may have moved.
        SelectTab(activePage_->PageIndex());
    }
}

void TsuiPageControl::MovePage(TsuiTabSheet* page, int index) {
    if (index < 0 || index > PageCount() - 1) return;
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    pages_.insert(pages_.begin() + index, page);
    RenumberPages();
    RebuildTabs();
    SetActivePage(page);
}

void TsuiPageControl::PageTabVisibleChanged(TsuiTabSheet* page) {
    TabPanel().SetTabVisible(page->PageIndex(), page->TabVisible());
    if (page->TabVisible() || page != activePage_) return;
    const int at = page->PageIndex();
    for (int i = at - 1; i >= 0; --i)
        if (pages_[size_t(i)]->TabVisible()) {
            ActivateByIndex(i);
            return;
        }
    for (int i = at + 1; i < PageCount(); ++i)
        if (pages_[size_t(i)]->TabVisible()) {
            ActivateByIndex(i);
            return;
        }
    // No other tab to show: the page stays active.
}

void TsuiPageControl::RenumberPages() {
    for (size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->pageIndex_ = int(i);
}

void TsuiPageControl::RebuildTabs() {
    std::vector<std::wstring> captions;
    captions.reserve(pages_.size());
    for (TsuiTabSheet* page : pages_)
        captions.push_back(page->Caption());
    TsuiTabControlTopPanel& strip = TabPanel();
    strip.Tabs().Assign(captions);
    for (size_t i = 0; i < pages_.size(); ++i)
        strip.SetTabVisible(int(i), pages_[i]->TabVisible());
}

void TsuiPageControl::SetStoredPageNames(const TValue& value) {
    if (value.kind == TValue::Kind::StringList) {
        storedNames_ = value.list;
    } else if (value.kind == TValue::Kind::None) {
        storedNames_.clear();
    } else {
        throw EPropertyError(L"a list of page names ( 'a' 'b' ) is expected, not " +
                             value.Describe());
    }
}

TValue TsuiPageControl::StoredPageNames() const {
    std::vector<std::wstring> names;
    for (TsuiTabSheet* page : pages_)
        names.push_back(page->Name());
    return TValue::Strings(std::move(names));
}

void TsuiPageControl::Loaded() {
    // Still loading here, so the reordering reports nothing; the inherited
    // step ends the loading state and lays the pages out.
    if (!storedNames_.empty()) {
        // Pages named in the stored order first, in that order; the rest keep theirs.
        auto rank = [this](const TsuiTabSheet* page) {
            for (size_t i = 0; i < storedNames_.size(); ++i)
                if (SameText(storedNames_[i], page->Name())) return int(i);
            return int(storedNames_.size());
        };
        std::stable_sort(pages_.begin(), pages_.end(),
                         [&](TsuiTabSheet* a, TsuiTabSheet* b) { return rank(a) < rank(b); });
        storedNames_.clear();
    }
    RenumberPages();
    RebuildTabs();
    if (activePage_) SelectTab(activePage_->PageIndex());
    // Whatever the description stored, only the page in front is enabled.
    for (TsuiTabSheet* page : pages_)
        page->SetEnabled(page == activePage_);
    TsuiTab::Loaded();
}

// ---------------------------------------------------------------------------

const TClassInfo& TsuiTabSheet::StaticClass() {
    using T = TsuiTabSheet;
    static const TClassInfo& info =
        TClassBuilder<T>(L"TsuiTabSheet", &TCustomPanel::StaticClass())
            .Component(L"PageControl", &T::PageControl, &T::SetPageControl)
            .Property(L"PageIndex", &T::PageIndex, &T::SetPageIndex)
            .Property(L"Caption", &T::Caption, &T::SetCaption)
            .Property(L"TabVisible", &T::TabVisible, &T::SetTabVisible)
            .Event(L"OnShow", &T::OnShow)
            .Build();
    return info;
}

TsuiTabSheet::TsuiTabSheet(TComponent* owner) : TCustomPanel(owner) {
    SetText(L" ");
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetBorderWidth(0);
    SetAlign(alClient);
}

TsuiTabSheet::~TsuiTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

// A page behind the active one is not seen when its window first shows; most
// of the start-up time goes into making controls' windows, so a hidden page
// makes its controls' windows after the first paint. A control that is needed
// earlier makes its own window on demand.
bool TsuiTabSheet::CreatesChildrenAtOnce() const {
    return !pageControl_ || pageControl_->ActivePage() == this;
}

namespace {
// A timer, not a posted message: the queue hands out posted messages before
// paints, timers only once every window has painted.
constexpr UINT_PTR kCreateChildrenTimer = 1;
} // namespace

void TsuiTabSheet::CreateHandleDone() {
    TCustomPanel::CreateHandleDone();
    if (!CreatesChildrenAtOnce())
        SetTimer(Handle(), kCreateChildrenTimer, USER_TIMER_MINIMUM, nullptr);
}

void TsuiTabSheet::WndProc(TMessage& m) {
    if (m.Msg == WM_TIMER && m.WParam == kCreateChildrenTimer) {
        KillTimer(Handle(), kCreateChildrenTimer);
        CreateChildHandles();
        return;
    }
    // A page behind the active one is covered by it whole: its paint would
    // only cost a page-sized picture that nobody sees.
    if (m.Msg == WM_PAINT && !m.WParam && pageControl_ && pageControl_->ActivePage() != this) {
        ValidateRect(Handle(), nullptr);
        m.Result = 0;
        return;
    }
    TCustomPanel::WndProc(m);
}

void TsuiTabSheet::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (pageControl_) pageControl_->RemovePage(this);
    TCustomPanel::SetParent(parent);
    if (auto* control = dynamic_cast<TsuiPageControl*>(parent)) control->InsertPage(this);
}

void TsuiTabSheet::SetPageIndex(int index) {
    if (pageControl_) pageControl_->MovePage(this, index);
}

void TsuiTabSheet::SetCaption(const std::wstring& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    if (pageControl_) pageControl_->RebuildTabs();
}

void TsuiTabSheet::SetTabVisible(bool visible) {
    if (visible == tabVisible_) return;
    tabVisible_ = visible;
    if (pageControl_) pageControl_->PageTabVisibleChanged(this);
}
