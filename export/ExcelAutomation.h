// Excel as a workbook back end, reached through COM late binding
// (IDispatch by name), so no type library is needed at build time.
#pragma once

#include "export/WorkbookWriter.h"
#include "framework/Exceptions.h"

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace exporter {

// An automation call that failed; the text is Excel's own description where
// it gives one.
class EOleError : public Exception {
  public:
    using Exception::Exception;
};

// Owns one reference to a COM interface. Not copyable: a copy would release
// the reference twice.
class DispatchRef {
  public:
    DispatchRef() = default;
    explicit DispatchRef(IDispatch* adopted) : p_(adopted) {}
    DispatchRef(DispatchRef&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    DispatchRef& operator=(DispatchRef&& other) noexcept;
    DispatchRef(const DispatchRef&) = delete;
    DispatchRef& operator=(const DispatchRef&) = delete;
    ~DispatchRef() { Reset(); }

    IDispatch* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset();

    // Calls a method or property by name. Arguments are given in their
    // natural order; a property put takes the value last.
    VARIANT Invoke(const wchar_t* name, WORD kind, std::initializer_list<VARIANT> args = {}) const;
    DispatchRef GetObject(const wchar_t* name, std::initializer_list<VARIANT> args = {}) const;

  private:
    IDispatch* p_ = nullptr;
};

// Connects to the application object; the default uses a running Excel if
// there is one and starts a new, invisible one otherwise. Tests pass a fake.
using ApplicationFactory = std::function<DispatchRef()>;

class ExcelWorkbookWriter final : public WorkbookWriter, private SheetSink {
  public:
    explicit ExcelWorkbookWriter(ApplicationFactory connect = ConnectToExcel);

    // True when Excel is registered on this machine, without starting it.
    static bool ExcelRegistered();
    static DispatchRef ConnectToExcel();

    void Connect() override;
    SheetSink& AddWorkbook() override;
    void SaveCopyAs(const std::wstring& file) override;
    void CloseWithoutSaving() override;
    void Disconnect() override;

  private:
    void PutCellText(int row1, int col1, const std::wstring& text) override;

    ApplicationFactory connect_;
    DispatchRef application_;
    DispatchRef workbook_;
    DispatchRef worksheet_;
    DispatchRef cells_;
};

} // namespace exporter
