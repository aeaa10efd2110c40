#include "app/Startup.h"

#include "app/Umain.h"

#include "framework/Forms.h"

#include <objbase.h>

namespace {

// Excel is driven over COM from the GUI thread: the thread joins a
// single-threaded apartment before any window exists and leaves it last.
class TComApartment {
  public:
    TComApartment() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~TComApartment() {
        if (joined_) CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

  private:
    bool joined_;
};

} // namespace

int RunProgram() {
    TComApartment com;
    Application->Initialize();
    RegisterProgramClasses();
    Application->SetTitle(L"蓝桉房贷按揭计算器");
    Application->CreateForm(Form1);
    Application->Run();
    return 0;
}
