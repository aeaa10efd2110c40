// Starts LananCalc.exe as a user would, finds its main window by caption and
// closes it the way the title bar's close button does.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring BesideThisTest(const wchar_t* file) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + file;
}

struct Found {
    DWORD pid;
    HWND hwnd;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM lParam) {
    auto* found = reinterpret_cast<Found*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t caption[128];
    if (pid == found->pid && IsWindowVisible(hwnd) && GetWindowTextW(hwnd, caption, 128) > 0 &&
        std::wstring(caption) == L"蓝桉房贷按揭计算器V1.0") {
        found->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

TEST(AppStart, ShowsTheMainWindowAndClosesNormally) {
    std::wstring exe = BesideThisTest(L"LananCalc.exe");
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi))
        << GetLastError();

    const DWORD started = GetTickCount();
    Found found{pi.dwProcessId, nullptr};
    for (int i = 0; i < 1500 && found.hwnd == nullptr; ++i) {
        Sleep(10);
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&found));
    }
    ASSERT_NE(found.hwnd, nullptr) << "main window did not appear";
    // The whole start, Wine's own process start included.
    std::printf("LananCalc.exe from its start to a visible main window: %lu ms\n",
                static_cast<unsigned long>(GetTickCount() - started));

    PostMessageW(found.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 1234;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    if (code == STILL_ACTIVE) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
