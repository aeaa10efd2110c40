// The Excel back end's calls, checked against an in-process automation
// object that answers to the same names as Excel's.
#include "export/ExcelAutomation.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct World {
    std::vector<std::wstring> log;
    int live = 0;
    std::wstring failOn; // a call name that answers with an exception
};

std::wstring ArgText(const VARIANT& v) {
    switch (v.vt) {
    case VT_I4:
        return std::to_wstring(v.lVal);
    case VT_BOOL:
        return v.boolVal ? L"true" : L"false";
    case VT_NULL:
        return L"null";
    case VT_BSTR:
        return L"'" + std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) + L"'";
    default:
        return L"?";
    }
}

// One fake object; `role` decides which names it answers and what they give.
class Fake final : public IDispatch {
  public:
    Fake(World& world, std::wstring role) : world_(world), role_(std::move(role)) { ++world_.live; }
    ~Fake() { --world_.live; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        static const std::map<std::wstring, std::vector<std::wstring>> answers = {
            {L"Application", {L"Workbooks"}},
            {L"Workbooks", {L"Add"}},
            {L"Workbook", {L"Worksheets", L"SaveCopyAs", L"Close"}},
            {L"Worksheets", {L"Item"}},
            {L"Worksheet", {L"Cells"}},
            {L"Range", {L"Item"}}};
        const auto& known = answers.at(role_);
        for (UINT i = 0; i < count; ++i) {
            auto it = std::find(known.begin(), known.end(), names[i]);
            if (it == known.end()) return DISP_E_UNKNOWNNAME;
            ids[i] = static_cast<DISPID>(100 + (it - known.begin()));
            names_[ids[i]] = *it;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD kind, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        const std::wstring name = names_.at(id);
        std::wstring entry = role_ + L"." + name + (kind == DISPATCH_PROPERTYPUT ? L"=" : L"(");
        for (UINT i = params->cArgs; i-- > 0;) // stored last to first
            entry += ArgText(params->rgvarg[i]) + (i > 0 ? L"," : L"");
        entry += kind == DISPATCH_PROPERTYPUT ? L"" : L")";
        if (lcid != 0) entry += L" lcid";
        world_.log.push_back(entry);
        if (name == world_.failOn) {
            info->bstrDescription = SysAllocString(L"磁盘已满");
            return DISP_E_EXCEPTION;
        }
        static const std::map<std::wstring, std::wstring> gives = {
            {L"Application.Workbooks", L"Workbooks"},
            {L"Workbooks.Add", L"Workbook"},
            {L"Workbook.Worksheets", L"Worksheets"},
            {L"Worksheets.Item", L"Worksheet"},
            {L"Worksheet.Cells", L"Range"}};
        auto it = gives.find(role_ + L"." + name);
        if (result != nullptr) {
            VariantInit(result);
            if (it != gives.end()) {
                result->vt = VT_DISPATCH;
                result->pdispVal = new Fake(world_, it->second);
                result->pdispVal->AddRef();
            }
        }
        return S_OK;
    }

  private:
    World& world_;
    std::wstring role_;
    ULONG refs_ = 0;
    std::map<DISPID, std::wstring> names_;
};

exporter::ApplicationFactory FakeExcel(World& world) {
    return [&world] {
        IDispatch* app = new Fake(world, L"Application");
        app->AddRef();
        return exporter::DispatchRef(app);
    };
}

} // namespace

TEST(ExcelBackEnd, CallsInTheOrderTheExportNeedsAndReleasesEverything) {
    World world;
    {
        exporter::ExcelWorkbookWriter excel(FakeExcel(world));
        excel.Connect();
        exporter::SheetSink& sheet = excel.AddWorkbook();
        sheet.PutCellText(1, 1, L"还款时间");
        sheet.PutCellText(2, 6, L"");
        excel.SaveCopyAs(L"C:\\t\\等额本息贷款分期还款表.xls");
        excel.CloseWithoutSaving();
        excel.Disconnect();
        EXPECT_EQ(world.live, 0);
    }
    const std::vector<std::wstring> expected = {
        L"Application.Workbooks()", L"Workbooks.Add(null)",
        L"Workbook.Worksheets()",   L"Worksheets.Item(1)",
        L"Worksheet.Cells()",       L"Range.Item=1,1,'还款时间'",
        L"Range.Item=2,6,''",       L"Workbook.SaveCopyAs('C:\\t\\等额本息贷款分期还款表.xls')",
        L"Workbook.Close(false)"};
    EXPECT_EQ(world.log, expected);
}

TEST(ExcelBackEnd, AFailingCallRaisesExcelsOwnDescription) {
    World world;
    world.failOn = L"SaveCopyAs";
    exporter::ExcelWorkbookWriter excel(FakeExcel(world));
    excel.Connect();
    excel.AddWorkbook().PutCellText(1, 1, L"x");
    try {
        excel.SaveCopyAs(L"C:\\x.xls");
        FAIL() << "no error";
    } catch (const exporter::EOleError& e) {
        EXPECT_EQ(e.Message(), L"磁盘已满");
    }
    excel.CloseWithoutSaving();
    excel.Disconnect();
    EXPECT_EQ(world.live, 0);
}

TEST(ExcelBackEnd, WithoutAWorkbookThereIsNothingToSaveOrClose) {
    World world;
    world.failOn = L"Add";
    exporter::ExcelWorkbookWriter excel(FakeExcel(world));
    excel.Connect();
    EXPECT_THROW(excel.AddWorkbook(), exporter::EOleError);
    excel.SaveCopyAs(L"C:\\x.xls");
    excel.CloseWithoutSaving();
    excel.Disconnect();
    EXPECT_EQ(world.log,
              (std::vector<std::wstring>{L"Application.Workbooks()", L"Workbooks.Add(null)"}));
    EXPECT_EQ(world.live, 0);
}

TEST(ExcelBackEnd, NoExcelOnThisMachineMeansConnectFails) {
    // Wine has no Excel; the real connection must fail cleanly.
    if (exporter::ExcelWorkbookWriter::ExcelRegistered()) GTEST_SKIP() << "Excel is installed here";
    CoInitialize(nullptr);
    exporter::ExcelWorkbookWriter excel;
    EXPECT_THROW(excel.Connect(), exporter::EOleError);
    CoUninitialize();
}
