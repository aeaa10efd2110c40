#include "export/ExcelAutomation.h"

#include <oleauto.h>

#include <cstdio>
#include <vector>

namespace exporter {

namespace {

// Holds a VARIANT and clears it however the scope is left.
class VariantHolder {
  public:
    VariantHolder() { VariantInit(&v_); }
    explicit VariantHolder(const VARIANT& adopted) : v_(adopted) {}
    VariantHolder(const VariantHolder&) = delete;
    VariantHolder& operator=(const VariantHolder&) = delete;
    ~VariantHolder() { VariantClear(&v_); }
    VARIANT& Get() { return v_; }

  private:
    VARIANT v_;
};

VARIANT IntArg(int value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT BoolArg(bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT NullArg() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_NULL;
    return v;
}

// The caller owns the string in the result.
VARIANT TextArg(const std::wstring& text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (v.bstrVal == nullptr && !text.empty()) throw EOleError(L"Out of memory");
    return v;
}

std::wstring HresultText(const wchar_t* name, HRESULT hr, const EXCEPINFO* info) {
    if (info != nullptr && info->bstrDescription != nullptr && *info->bstrDescription != 0)
        return info->bstrDescription;
    wchar_t buf[96];
    std::swprintf(buf, 96, L"OLE error %08lX", static_cast<unsigned long>(hr));
    return std::wstring(buf) + L" (" + name + L")";
}

} // namespace

DispatchRef& DispatchRef::operator=(DispatchRef&& other) noexcept {
    if (this != &other) {
        Reset();
        p_ = other.p_;
        other.p_ = nullptr;
    }
    return *this;
}

void DispatchRef::Reset() {
    if (p_ != nullptr) {
        IDispatch* p = p_;
        p_ = nullptr;
        p->Release();
    }
}

VARIANT DispatchRef::Invoke(const wchar_t* name, WORD kind,
                            std::initializer_list<VARIANT> args) const {
    if (p_ == nullptr) throw EOleError(std::wstring(L"No automation object for ") + name);
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = p_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw EOleError(HresultText(name, hr, nullptr));

    // IDispatch takes its arguments last to first.
    std::vector<VARIANT> reversed(args.begin(), args.end());
    std::vector<VARIANT> ordered(reversed.rbegin(), reversed.rend());
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(ordered.size());
    params.rgvarg = ordered.empty() ? nullptr : ordered.data();
    DISPID putId = DISPID_PROPERTYPUT;
    if (kind == DISPATCH_PROPERTYPUT) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &putId;
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    UINT argError = 0;
    hr = p_->Invoke(id, IID_NULL, 0 /* locale 0 */, kind, &params,
                    kind == DISPATCH_PROPERTYPUT ? nullptr : &result, &info, &argError);
    if (FAILED(hr)) {
        std::wstring text = HresultText(name, hr, hr == DISP_E_EXCEPTION ? &info : nullptr);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        throw EOleError(text);
    }
    return result;
}

DispatchRef DispatchRef::GetObject(const wchar_t* name, std::initializer_list<VARIANT> args) const {
    VariantHolder result(Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args));
    VARIANT& v = result.Get();
    if (v.vt != VT_DISPATCH || v.pdispVal == nullptr)
        throw EOleError(std::wstring(L"No object returned by ") + name);
    IDispatch* p = v.pdispVal;
    p->AddRef();
    return DispatchRef(p);
}

ExcelWorkbookWriter::ExcelWorkbookWriter(ApplicationFactory connect)
    : connect_(std::move(connect)) {}

bool ExcelWorkbookWriter::ExcelRegistered() {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid));
}

DispatchRef ExcelWorkbookWriter::ConnectToExcel() {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"Excel.Application", &clsid);
    if (FAILED(hr)) throw EOleError(HresultText(L"Excel.Application", hr, nullptr));
    // A running instance first; a new one stays invisible since its
    // visibility is never touched.
    IUnknown* unknown = nullptr;
    if (SUCCEEDED(GetActiveObject(clsid, nullptr, &unknown)) && unknown != nullptr) {
        IDispatch* dispatch = nullptr;
        hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        unknown->Release();
        if (SUCCEEDED(hr)) return DispatchRef(dispatch);
    }
    IDispatch* dispatch = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr)) throw EOleError(HresultText(L"Excel.Application", hr, nullptr));
    return DispatchRef(dispatch);
}

void ExcelWorkbookWriter::Connect() {
    application_ = connect_();
}

SheetSink& ExcelWorkbookWriter::AddWorkbook() {
    DispatchRef workbooks = application_.GetObject(L"Workbooks");
    workbook_ = workbooks.GetObject(L"Add", {NullArg()});
    DispatchRef sheets = workbook_.GetObject(L"Worksheets");
    worksheet_ = sheets.GetObject(L"Item", {IntArg(1)});
    cells_ = worksheet_.GetObject(L"Cells");
    return *this;
}

void ExcelWorkbookWriter::PutCellText(int row1, int col1, const std::wstring& text) {
    VariantHolder value(TextArg(text));
    VariantHolder ignored(
        cells_.Invoke(L"Item", DISPATCH_PROPERTYPUT, {IntArg(row1), IntArg(col1), value.Get()}));
}

void ExcelWorkbookWriter::SaveCopyAs(const std::wstring& file) {
    if (!workbook_) return; // never created: nothing to save
    VariantHolder name(TextArg(file));
    VariantHolder ignored(workbook_.Invoke(L"SaveCopyAs", DISPATCH_METHOD, {name.Get()}));
}

void ExcelWorkbookWriter::CloseWithoutSaving() {
    if (!workbook_) return;
    cells_.Reset();
    worksheet_.Reset();
    VariantHolder ignored(workbook_.Invoke(L"Close", DISPATCH_METHOD, {BoolArg(false)}));
    workbook_.Reset();
}

void ExcelWorkbookWriter::Disconnect() {
    cells_.Reset();
    worksheet_.Reset();
    workbook_.Reset();
    application_.Reset(); // released, never asked to quit
}

} // namespace exporter
