// Runs the program's own start-up in this process and looks, from inside its
// message loop, at what that start-up prepared.
#include "app/Startup.h"

#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <windows.h>

namespace {

HRESULT gJoinWhileRunning = E_FAIL;
bool gSawMainWindow = false;

// Asking to join the thread's single-threaded apartment answers S_FALSE when
// the thread is in it already, S_OK when it was not in any.
HRESULT JoinApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr)) CoUninitialize();
    return hr;
}

void CALLBACK WhileRunning(HWND, UINT, UINT_PTR timer, DWORD) {
    TForm* main = Application->MainForm();
    if (!main || !main->HandleAllocated() || !IsWindowVisible(main->Handle())) return;
    KillTimer(nullptr, timer);
    gSawMainWindow = true;
    gJoinWhileRunning = JoinApartment();
    PostMessageW(main->Handle(), WM_CLOSE, 0, 0);
}

} // namespace

TEST(ProgramStartup, RunsInASingleThreadedApartmentAndLeavesItAtExit) {
    ASSERT_NE(SetTimer(nullptr, 0, 20, WhileRunning), 0u);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(gSawMainWindow);
    // Excel's automation objects need COM on the GUI thread while it runs.
    EXPECT_EQ(gJoinWhileRunning, S_FALSE);
    EXPECT_EQ(JoinApartment(), S_OK) << "COM left joined after the program ended";
}
