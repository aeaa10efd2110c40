#include "framework/StringList.h"

#include <algorithm>

namespace {
wchar_t Fold(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c;
}
} // namespace

TStringList::TStringList(std::initializer_list<std::wstring> lines) {
    for (auto& s : lines)
        items_.push_back({s, nullptr});
}

TStringList::TStringList(const TStringList& other)
    : items_(other.items_), sorted_(other.sorted_), duplicates_(other.duplicates_),
      separator_(other.separator_) {}

TStringList& TStringList::operator=(const TStringList& other) {
    if (this == &other) return *this;
    Changing();
    // The content is copied; how this list sorts and separates stays its own.
    items_.clear();
    for (auto& it : other.items_)
        items_.push_back(it);
    if (sorted_) Sort();
    Changed();
    return *this;
}

// Ordinal on UTF-16 units with ASCII letters folded to upper case, so the
// order never depends on the user's locale.
int TStringList::Compare(const std::wstring& a, const std::wstring& b) const {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = Fold(a[i]);
        wchar_t y = Fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

void TStringList::Changing() {
    if (updateCount_ == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (updateCount_ > 0) {
        changedDuringUpdate_ = true;
        return;
    }
    if (OnChange) OnChange(this);
}

void TStringList::BeginUpdate() {
    if (updateCount_++ == 0) changedDuringUpdate_ = false;
}

void TStringList::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && changedDuringUpdate_) {
        changedDuringUpdate_ = false;
        Changed();
    }
}

const std::wstring& TStringList::Strings(int index) const {
    CheckIndex(index);
    return items_[size_t(index)].text;
}

void TStringList::SetStrings(int index, const std::wstring& s) {
    CheckIndex(index);
    if (sorted_) {
        // Keep the order: the new text must fit between its neighbours.
        bool fits = (index == 0 || Compare(items_[size_t(index - 1)].text, s) <= 0) &&
                    (index == Count() - 1 || Compare(s, items_[size_t(index + 1)].text) <= 0);
        if (!fits) throw EStringListError(L"Operation not allowed on sorted list");
    }
    Changing();
    items_[size_t(index)].text = s;
    Changed();
}

TObject* TStringList::Objects(int index) const {
    CheckIndex(index);
    return items_[size_t(index)].object;
}

bool TStringList::Find(const std::wstring& s, int& index) const {
    // Lower bound: the first item not less than s.
    int lo = 0, hi = Count();
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (Compare(items_[size_t(mid)].text, s) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    index = lo;
    return lo < Count() && Compare(items_[size_t(lo)].text, s) == 0;
}

void TStringList::InsertItem(int index, const std::wstring& s, TObject* obj) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, obj});
    Changed();
}

int TStringList::Add(const std::wstring& s, TObject* obj) {
    int index = Count();
    if (sorted_) {
        if (Find(s, index)) {
            if (duplicates_ == TDuplicates::dupIgnore) return index;
            if (duplicates_ == TDuplicates::dupError)
                throw EStringListError(L"String list does not allow duplicates");
            // Accepted duplicates go after their equals.
            while (index < Count() && Compare(items_[size_t(index)].text, s) == 0)
                ++index;
        }
    }
    InsertItem(index, s, obj);
    return index;
}

void TStringList::Insert(int index, const std::wstring& s, TObject* obj) {
    if (sorted_) throw EStringListError(L"Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    InsertItem(index, s, obj);
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

int TStringList::IndexOf(const std::wstring& s) const {
    if (sorted_) {
        int index;
        return Find(s, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (Compare(items_[size_t(i)].text, s) == 0) return i;
    return -1;
}

int TStringList::IndexOfObject(const TObject* obj) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[size_t(i)].object == obj) return i;
    return -1;
}

void TStringList::Sort() {
    Changing();
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
    Changed();
}

void TStringList::SetSorted(bool value) {
    if (sorted_ == value) return;
    if (value) Sort();
    sorted_ = value;
}

std::wstring TStringList::Names(int index) const {
    const std::wstring& s = Strings(index);
    size_t p = s.find(separator_);
    return p == std::wstring::npos ? std::wstring() : s.substr(0, p);
}

std::wstring TStringList::ValueFromIndex(int index) const {
    const std::wstring& s = Strings(index);
    size_t p = s.find(separator_);
    return p == std::wstring::npos ? std::wstring() : s.substr(p + 1);
}

int TStringList::IndexOfName(const std::wstring& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::wstring& s = items_[size_t(i)].text;
        size_t p = s.find(separator_);
        if (p != std::wstring::npos && Compare(s.substr(0, p), name) == 0) return i;
    }
    return -1;
}

std::wstring TStringList::Values(const std::wstring& name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::wstring() : ValueFromIndex(i);
}

void TStringList::SetValue(const std::wstring& name, const std::wstring& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    std::wstring item = name + separator_ + value;
    if (i < 0) {
        Add(item);
    } else if (sorted_) {
        // The name keeps its place only by chance; re-insert to stay ordered.
        TObject* obj = items_[size_t(i)].object;
        BeginUpdate();
        Delete(i);
        Add(item, obj);
        EndUpdate();
    } else {
        SetStrings(i, item);
    }
}

std::wstring TStringList::Text() const {
    std::wstring out;
    for (auto& it : items_) {
        out += it.text;
        out += L"\r\n";
    }
    return out;
}

void TStringList::SetText(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        if (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ++end;
        start = end + 1;
    }
    Assign(lines);
}

void TStringList::Assign(const std::vector<std::wstring>& lines) {
    BeginUpdate();
    Clear();
    for (auto& s : lines)
        Add(s);
    EndUpdate();
}

std::vector<std::wstring> TStringList::ToVector() const {
    std::vector<std::wstring> out;
    out.reserve(items_.size());
    for (auto& it : items_)
        out.push_back(it.text);
    return out;
}
