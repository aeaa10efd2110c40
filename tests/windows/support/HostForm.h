#pragma once

// A shown form for a test to put controls on, and a control made on it.

#include "MessagePump.h"

#include "framework/Forms.h"

// A form to put controls on; freed with everything it owns.
class HostForm {
  public:
    explicit HostForm(int clientWidth = 400, int clientHeight = 300)
        : form_(new TForm(Application)) {
        form_->SetLeft(60);
        form_->SetTop(60);
        form_->SetClientWidth(clientWidth);
        form_->SetClientHeight(clientHeight);
    }
    HostForm(const HostForm&) = delete;
    HostForm& operator=(const HostForm&) = delete;
    ~HostForm() { form_->Free(); }
    TForm* operator->() const { return form_; }
    TForm& operator*() const { return *form_; }
    TForm* get() const { return form_; }
    // Returns once the form is the active window: a late activation would
    // move the focus (and close a dropped list) in the middle of a test.
    void Show() {
        form_->Show();
        SetForegroundWindow(form_->Handle());
        PumpUntil([this] { return form_->Active() && GetForegroundWindow() == form_->Handle(); });
        Pump();
    }

  private:
    TForm* form_;
};

// A control owned by owner on parent; the owner matters to the skinned
// controls, which take their style from the owner's form.
template <class T> T* Make(TComponent* owner, TWinControl* parent) {
    auto* c = new T(owner);
    c->SetParent(parent);
    return c;
}
template <class T>
T* Make(TComponent* owner, TWinControl* parent, int left, int top, int width, int height) {
    T* c = Make<T>(owner, parent);
    c->SetBounds(left, top, width, height);
    return c;
}
template <class T> T* Make(TForm* parent, int left, int top, int width, int height) {
    return Make<T>(parent, parent, left, top, width, height);
}
