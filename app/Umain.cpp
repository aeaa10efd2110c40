#include "app/Umain.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner) : TForm(owner) { LoadDescription(L"TForm1"); }

const TClassInfo& TForm1::StaticClass() {
    static const TClassInfo& info = TClassBuilder<TForm1>(L"TForm1", &TForm::StaticClass()).Build();
    return info;
}
