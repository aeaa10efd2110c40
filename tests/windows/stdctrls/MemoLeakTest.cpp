// Memos made and freed again and again leave their text behind no more: under
// Wine an edit window created with a long wrapped text kept memory in
// proportion to it after the window was gone (6 KB for each 关于 opened).

#include "../support/HostForm.h"

#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <psapi.h>

namespace {

double PrivateKilobytes() {
    PROCESS_MEMORY_COUNTERS_EX c{};
    K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c),
                            sizeof c);
    // Wine leaves PrivateUsage 0 and counts the private bytes as pagefile use.
    return double(c.PrivateUsage ? c.PrivateUsage : c.PagefileUsage) / 1024.0;
}

} // namespace

TEST(Memo, AWrappedTextReachesTheNewWindowQuietlyAndGoesWithIt) {
    std::wstring line;
    for (int i = 0; i < 3; ++i) // long enough to wrap
        line += L"近年来，中国人民银行多次上调存贷款基准利率，每一次加息都让购房者的月供更重一分。";
    std::wstring text = line;
    for (int i = 1; i < 40; ++i)
        text += L"\r\n" + line;
    int changes = 0;
    auto once = [&] {
        HostForm form(440, 400);
        auto* memo = Make<TMemo>(form.get(), 10, 10, 420, 380);
        memo->SetScrollBars(msVertical);
        memo->Lines().SetText(text);
        memo->OnChange = [&](TObject*) { ++changes; };
        form.Show();
        EXPECT_TRUE(memo->Text() == text);
        EXPECT_EQ(40, memo->Lines().Count());
    };
    for (int i = 0; i < 10; ++i)
        once(); // the heap and the caches grow to their size first
    const double before = PrivateKilobytes();
    constexpr int kWindows = 50;
    for (int i = 0; i < kWindows; ++i)
        once();
    // Made with its text, each window kept some 110 KB of this one; made
    // first and given the text after, under 5.
    EXPECT_LT(PrivateKilobytes() - before, 20.0 * kWindows) << "KB kept by the freed memos";
    EXPECT_EQ(0, changes); // placing the text in a new window changes nothing
}
