#pragma once

// A list of strings with attached objects: optionally sorted, read as
// name=value pairs with a chosen separator, with a change event.

#include "framework/Classes.h"

#include <functional>
#include <string>
#include <vector>

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList {
  public:
    TStringList() = default;
    TStringList(std::initializer_list<std::wstring> lines);
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);

    int Count() const { return int(items_.size()); }
    const std::wstring& operator[](int index) const { return Strings(index); }
    const std::wstring& Strings(int index) const;
    // Replacing an item of a sorted list keeps its place only if the order allows;
    // otherwise it is refused.
    void SetStrings(int index, const std::wstring& s);
    TObject* Objects(int index) const;

    // Returns the index of the new item (its sorted place in a sorted list;
    // with dupIgnore the index of the existing equal item).
    int Add(const std::wstring& s, TObject* obj = nullptr);
    // Refused on a sorted list.
    void Insert(int index, const std::wstring& s, TObject* obj = nullptr);
    void Delete(int index);
    void Clear();
    int IndexOf(const std::wstring& s) const;
    int IndexOfObject(const TObject* obj) const;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    void Sort();
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates d) { duplicates_ = d; }
    // Binary search in a sorted list: true and the index if found, else false
    // and the index where s would go.
    bool Find(const std::wstring& s, int& index) const;

    // name=value
    wchar_t NameValueSeparator() const { return separator_; }
    void SetNameValueSeparator(wchar_t sep) { separator_ = sep; }
    // The part before the first separator; empty for an item without one.
    std::wstring Names(int index) const;
    // The part after the first separator; empty for an item without one.
    std::wstring ValueFromIndex(int index) const;
    int IndexOfName(const std::wstring& name) const;
    std::wstring Values(const std::wstring& name) const;
    // An empty value deletes the item; an unknown name adds one.
    void SetValue(const std::wstring& name, const std::wstring& value);

    // Every item followed by CR LF; setting splits at CR LF, CR or LF.
    std::wstring Text() const;
    void SetText(const std::wstring& text);

    void Assign(const std::vector<std::wstring>& lines);
    void Assign(const TStringList& other) { *this = other; }
    std::vector<std::wstring> ToVector() const;

    // Changes made between BeginUpdate and EndUpdate raise OnChange once.
    void BeginUpdate();
    void EndUpdate();

    std::function<void(TStringList* sender)> OnChanging;
    std::function<void(TStringList* sender)> OnChange;

  private:
    struct Item {
        std::wstring text;
        TObject* object = nullptr;
    };
    int Compare(const std::wstring& a, const std::wstring& b) const;
    void CheckIndex(int index) const;
    void Changing();
    void Changed();
    void InsertItem(int index, const std::wstring& s, TObject* obj);

    std::vector<Item> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
    wchar_t separator_ = L'=';
    int updateCount_ = 0;
    bool changedDuringUpdate_ = false;
};
