// The main window: both repayment tabs, the floating-rate tab, the tool bar.
#pragma once

#include "framework/Forms.h"

class TForm1 : public TForm {
  public:
    explicit TForm1(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

extern TForm1* Form1;
