// TStringList: name=value access with a chosen separator, sorted insertion
// and duplicates, text, objects and the change event.

#include "framework/StringList.h"

#include <gtest/gtest.h>

namespace {

TEST(StringList, NameValueWithChosenSeparator) {
    // The prepayment plan's items: the name ends before the first '='.
    TStringList plan;
    plan.SetNameValueSeparator(L'=');
    plan.Add(L"2024年03月  <=>  1000.00元");
    plan.Add(L"2023年12月  <=>  50.50元");
    plan.Add(L"no separator here");
    EXPECT_EQ(plan.Names(0), L"2024年03月  <");
    EXPECT_EQ(plan.ValueFromIndex(0), L">  1000.00元");
    EXPECT_EQ(plan.Names(2), L"");
    EXPECT_EQ(plan.ValueFromIndex(2), L"");
    EXPECT_EQ(plan.IndexOfName(L"2023年12月  <"), 1);
    EXPECT_EQ(plan.IndexOfName(L"2023年12月"), -1); // the whole name, not a prefix
    EXPECT_EQ(plan.Values(L"2024年03月  <"), L">  1000.00元");
    EXPECT_EQ(plan.Values(L"missing"), L"");

    TStringList colon;
    colon.SetNameValueSeparator(L':');
    colon.Add(L"a=b:c:d");
    EXPECT_EQ(colon.Names(0), L"a=b");
    EXPECT_EQ(colon.ValueFromIndex(0), L"c:d");
}

TEST(StringList, SetValueReplacesAddsAndDeletes) {
    TStringList l;
    l.Add(L"x=1");
    l.Add(L"y=2");
    l.SetValue(L"y", L"20");
    l.SetValue(L"z", L"3");
    EXPECT_EQ(l.Text(), L"x=1\r\ny=20\r\nz=3\r\n");
    l.SetValue(L"x", L""); // an empty value removes the item
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l.IndexOfName(L"x"), -1);
    EXPECT_EQ(l.IndexOfName(L"X"), -1); // names are compared ignoring ASCII case: none left
    l.Add(L"Case=1");
    EXPECT_EQ(l.IndexOfName(L"CASE"), 2);
}

TEST(StringList, SortedInsertionAndLookup) {
    TStringList l;
    l.SetSorted(true);
    for (const wchar_t* s : {L"2024年10月", L"2024年02月", L"2023年12月", L"2024年09月"})
        l.Add(s);
    EXPECT_EQ(l.ToVector(), (std::vector<std::wstring>{L"2023年12月", L"2024年02月", L"2024年09月",
                                                       L"2024年10月"}));
    EXPECT_EQ(l.IndexOf(L"2024年09月"), 2);
    EXPECT_EQ(l.IndexOf(L"2024年11月"), -1);
    int at = -1;
    EXPECT_FALSE(l.Find(L"2024年03月", at));
    EXPECT_EQ(at, 2); // where it would go
    EXPECT_THROW(l.Insert(0, L"x"), EStringListError);
    // Changing an item's text in place must not break the order.
    EXPECT_THROW(l.SetStrings(0, L"2099"), EStringListError);

    // Turning sorting on sorts what is there; case is folded for ASCII letters.
    TStringList m{L"b", L"C", L"a"};
    m.SetSorted(true);
    EXPECT_EQ(m.ToVector(), (std::vector<std::wstring>{L"a", L"b", L"C"}));
}

TEST(StringList, DuplicatesInSortedLists) {
    TStringList ignore;
    ignore.SetSorted(true);
    EXPECT_EQ(ignore.Add(L"a"), 0);
    EXPECT_EQ(ignore.Add(L"b"), 1);
    EXPECT_EQ(ignore.Add(L"a"), 0); // the existing one's index
    EXPECT_EQ(ignore.Count(), 2);

    TStringList error;
    error.SetSorted(true);
    error.SetDuplicates(TDuplicates::dupError);
    error.Add(L"a");
    EXPECT_THROW(error.Add(L"a"), EStringListError);

    TStringList accept;
    accept.SetSorted(true);
    accept.SetDuplicates(TDuplicates::dupAccept);
    accept.Add(L"a");
    accept.Add(L"b");
    EXPECT_EQ(accept.Add(L"a"), 1); // after its equal
    EXPECT_EQ(accept.Count(), 3);

    // Replacing a value in a sorted name=value list keeps it sorted.
    TStringList plan;
    plan.SetSorted(true);
    plan.Add(L"2024=1");
    plan.Add(L"2025=2");
    plan.SetValue(L"2024", L"9");
    EXPECT_EQ(plan.Text(), L"2024=9\r\n2025=2\r\n");
}

TEST(StringList, TextObjectsAndChangeEvent) {
    TStringList l;
    int changes = 0;
    l.OnChange = [&](TStringList*) { ++changes; };
    l.SetText(L"one\r\ntwo\nthree\rfour");
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(changes, 1); // one assignment, one event
    EXPECT_EQ(l[3], L"four");
    l.SetText(L"a\r\n\r\nb\r\n");
    EXPECT_EQ(l.ToVector(), (std::vector<std::wstring>{L"a", L"", L"b"}));

    TObject marker;
    changes = 0;
    l.Add(L"c", &marker);
    l.Delete(0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(l.Objects(2), &marker);
    EXPECT_EQ(l.IndexOfObject(&marker), 2);
    EXPECT_THROW(l.Strings(3), EStringListError);
    EXPECT_THROW(l.Delete(-1), EStringListError);

    l.BeginUpdate();
    l.Clear();
    l.Add(L"x");
    EXPECT_EQ(changes, 2);
    l.EndUpdate();
    EXPECT_EQ(changes, 3);
}

} // namespace
