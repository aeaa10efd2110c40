// Start-up of 蓝桉房贷按揭计算器.
#include "app/Umain.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Application->Initialize();
    RegisterProgramClasses();
    Application->SetTitle(L"蓝桉房贷按揭计算器");
    Application->CreateForm(Form1);
    Application->Run();
    return 0;
}
