#include "framework/Dialogs.h"

#include "framework/ModalHook.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

TEnumInfo MakeOptionsEnum() {
    TEnumInfo e;
    e.typeName = L"TOpenOptions";
    const wchar_t* names[] = {L"ofReadOnly",
                              L"ofOverwritePrompt",
                              L"ofHideReadOnly",
                              L"ofNoChangeDir",
                              L"ofShowHelp",
                              L"ofNoValidate",
                              L"ofAllowMultiSelect",
                              L"ofExtensionDifferent",
                              L"ofPathMustExist",
                              L"ofFileMustExist",
                              L"ofCreatePrompt",
                              L"ofShareAware",
                              L"ofNoReadOnlyReturn",
                              L"ofNoTestFileCreate",
                              L"ofNoNetworkButton",
                              L"ofNoLongNames",
                              L"ofOldStyleDialog",
                              L"ofNoDereferenceLinks",
                              L"ofEnableIncludeNotify",
                              L"ofEnableSizing",
                              L"ofDontAddToRecent",
                              L"ofForceShowHidden"};
    int i = 0;
    for (const wchar_t* n : names)
        e.values.emplace_back(n, i++);
    return e;
}

} // namespace

const TEnumInfo& OpenOptionsEnum() {
    static const TEnumInfo e = MakeOptionsEnum();
    return e;
}

const TClassInfo& TOpenDialog::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TOpenDialog>(L"TOpenDialog", &TComponent::StaticClass())
            .Property(L"DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
            .Property(L"FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
            .Property(L"Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
            .Property(L"FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex)
            .Property(L"InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
            .Set(L"Options", &TOpenDialog::Options, &TOpenDialog::SetOptions, OpenOptionsEnum())
            .Property(L"Title", &TOpenDialog::Title, &TOpenDialog::SetTitle)
            .Build();
    return info;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

void TOpenDialog::SetDefaultExt(const std::wstring& s) {
    defaultExt_ = !s.empty() && s[0] == L'.' ? s.substr(1) : s;
}

std::wstring TOpenDialog::SystemFilter(const std::wstring& filter) {
    std::wstring out = filter;
    for (auto& c : out)
        if (c == L'|') c = L'\0';
    // Pairs end in one NUL each, the list in a second one.
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

namespace {

std::wstring WithExt(const std::wstring& name, const std::wstring& ext) {
    if (ext.empty() || name.empty()) return name;
    size_t slash = name.find_last_of(L"\\/");
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) return name;
    return name + L"." + ext;
}

} // namespace

std::wstring TOpenDialog::WithDefaultExt(const std::wstring& name) const {
    return WithExt(name, defaultExt_);
}

std::wstring TOpenDialog::WithFilterExt(const std::wstring& name, int filterIndex) const {
    // The pattern of pair filterIndex: "Name|pattern|Name|pattern".
    std::wstring pattern;
    std::size_t start = 0;
    for (int field = 1; start <= filter_.size(); ++field) {
        const std::size_t bar = std::min(filter_.find(L'|', start), filter_.size());
        if (field == 2 * filterIndex) {
            pattern = filter_.substr(start, bar - start);
            break;
        }
        start = bar + 1;
    }
    const bool single = pattern.size() > 2 && pattern.compare(0, 2, L"*.") == 0 &&
                        pattern.find_first_of(L";*?", 2) == std::wstring::npos;
    return WithExt(name, single ? pattern.substr(2) : defaultExt_);
}

DWORD TOpenDialog::SystemFlags() const {
    static const std::pair<TOpenOption, DWORD> map[] = {
        {ofReadOnly, OFN_READONLY},
        {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR},
        {ofShowHelp, OFN_SHOWHELP},
        {ofNoValidate, OFN_NOVALIDATE},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
        {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST},
        {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofShareAware, OFN_SHAREAWARE},
        {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
        {ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {ofNoLongNames, OFN_NOLONGNAMES},
        {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
        {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
        {ofEnableSizing, OFN_ENABLESIZING},
        {ofDontAddToRecent, OFN_DONTADDTORECENT},
        {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
    };
    DWORD flags = OFN_EXPLORER;
    for (auto& [option, flag] : map)
        if (options_.Contains(option)) flags |= flag;
    return flags;
}

bool TOpenDialog::Execute() {
    HWND owner = GetActiveWindow();
    TModalRequest request;
    request.kind = Kind();
    request.fileName = fileName_;
    request.filter = filter_;
    request.defaultExt = defaultExt_;
    request.initialDir = initialDir_;
    request.title = title_;
    request.filterIndex = filterIndex_ > 0 ? filterIndex_ : 1;
    request.owner = owner;
    if (NotifyModalStarted(request)) {
        // Answered without a window: the name as the dialog would return it.
        if (request.result == 0) return false;
        filterIndex_ = request.filterIndex;
        fileName_ = WithFilterExt(request.fileName, filterIndex_);
        return true;
    }
    std::vector<wchar_t> buffer(32768, L'\0');
    fileName_.copy(buffer.data(), std::min(fileName_.size(), buffer.size() - 1));
    std::wstring filter = SystemFilter(filter_);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = DWORD(filterIndex_ > 0 ? filterIndex_ : 1);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    ofn.Flags = SystemFlags();
    if (!RunSystemDialog(ofn)) return false;
    fileName_ = buffer.data();
    filterIndex_ = int(ofn.nFilterIndex);
    return true;
}

bool TOpenDialog::RunSystemDialog(OPENFILENAMEW& ofn) {
    return GetOpenFileNameW(&ofn) != FALSE;
}

const TClassInfo& TSaveDialog::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TSaveDialog>(L"TSaveDialog", &TOpenDialog::StaticClass()).Build();
    return info;
}

bool TSaveDialog::RunSystemDialog(OPENFILENAMEW& ofn) {
    return GetSaveFileNameW(&ofn) != FALSE;
}
