// Under Wine an edit window made with a long wrapped text kept memory after it went.

#include "../support/HostForm.h"

#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <psapi.h>

TEST(Memo, AWrappedTextReachesTheNewWindowQuietlyAndGoesWithIt) {
    std::wstring text;
    for (int i = 0; i < 40; ++i) // lines long enough to wrap
        text += (i ? L"\r\n" : L"") + std::wstring(120, L'贷');
    int changes = 0;
    auto privateKilobytes = [] { // the commit charge: private bytes, under Wine too
        PROCESS_MEMORY_COUNTERS c{};
        K32GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
        return double(c.PagefileUsage) / 1024.0;
    };
    double before = 0;
    for (int i = 0; i < 60; ++i) {
        if (i == 10) before = privateKilobytes(); // the heap has grown to its size
        HostForm form(440, 400);
        auto* memo = Make<TMemo>(form.get(), 10, 10, 420, 380);
        memo->Lines().SetText(text);
        memo->OnChange = [&](TObject*) { ++changes; };
        form.Show();
        EXPECT_TRUE(memo->Text() == text);
    }
    // Made with its text, each window kept some 110 KB; given it after, under 5.
    EXPECT_LT(privateKilobytes() - before, 20.0 * 50);
    EXPECT_EQ(0, changes); // placing the text in a new window changes nothing
}
