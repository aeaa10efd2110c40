// The manifest and the version resource, read from the built program file as
// Windows and Explorer read them.
#include "app/Version.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

#include <shlwapi.h>
#include <windows.h>
#include <xmllite.h>

#include <fstream>
#include <iterator>
#include <set>
#include <vector>

const wchar_t* const kProgram = LANAN_PROGRAM_FILE;

// Every element of the manifest as "namespace|name", with "@attribute=value"
// or "=text" after it; a malformed manifest fails the parse.
TEST(ProgramFile, ManifestIsWellFormedAndAsksForWhatTheProgramNeeds) {
    HMODULE exe = LoadLibraryExW(kProgram, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_TRUE(res) << "no manifest";
    IStream* stream = SHCreateMemStream(
        static_cast<const BYTE*>(LockResource(LoadResource(exe, res))), SizeofResource(exe, res));
    IXmlReader* reader = nullptr;
    auto create = reinterpret_cast<decltype(&CreateXmlReader)>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"xmllite.dll"), "CreateXmlReader")));
    ASSERT_EQ(S_OK, create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr));
    reader->SetInput(stream);
    std::set<std::wstring> seen;
    std::wstring element;
    XmlNodeType type;
    HRESULT hr;
    const wchar_t *ns, *name, *value;
    while ((hr = reader->Read(&type)) == S_OK) {
        reader->GetValue(&value, nullptr);
        if (type == XmlNodeType_Text) seen.insert(element + L"=" + value);
        if (type != XmlNodeType_Element) continue;
        reader->GetNamespaceUri(&ns, nullptr);
        reader->GetLocalName(&name, nullptr);
        seen.insert(element = std::wstring(ns) + L"|" + name);
        for (HRESULT a = reader->MoveToFirstAttribute(); a == S_OK;
             a = reader->MoveToNextAttribute()) {
            reader->GetLocalName(&name, nullptr);
            reader->GetValue(&value, nullptr);
            seen.insert(element + L"@" + name + L"=" + value);
        }
    }
    EXPECT_EQ(S_FALSE, hr) << "not well-formed XML";
    reader->Release();
    stream->Release();
    FreeLibrary(exe);
    const std::wstring v1 = L"urn:schemas-microsoft-com:asm.v1|",
                       v3 = L"urn:schemas-microsoft-com:asm.v3|",
                       os = L"urn:schemas-microsoft-com:compatibility.v1|supportedOS@Id=",
                       smi = L"http://schemas.microsoft.com/SMI/";
    for (const std::wstring& expected :
         {v1 + L"assembly@manifestVersion=1.0", v3 + L"requestedExecutionLevel@level=asInvoker",
          os + L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          os + L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          os + L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          os + L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
          smi + L"2005/WindowsSettings|dpiAware=false",
          smi + L"2017/WindowsSettings|gdiScaling=true"})
        EXPECT_TRUE(seen.count(expected)) << WideToUtf8(expected);
    EXPECT_FALSE(seen.count(v1 + L"dependency"))
        << "no common controls 6: the skin draws the classic ones";
}

TEST(ProgramFile, VersionResourceNamesProgramMakerVersionAndRights) {
    std::vector<BYTE> info(GetFileVersionInfoSizeW(kProgram, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(kProgram, 0, DWORD(info.size()), info.data()));
    auto query = [&](const std::wstring& path) -> const void* {
        void* p = nullptr;
        UINT size = 0;
        return VerQueryValueW(info.data(), path.c_str(), &p, &size) && size ? p : L"";
    };
    EXPECT_EQ(MAKELONG(0x0804, 1200),
              *static_cast<const DWORD*>(query(L"\\VarFileInfo\\Translation")));
    std::ifstream license(LANAN_LICENSE_FILE, std::ios::binary);
    const std::string rights(std::istreambuf_iterator<char>(license), {});
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"FileDescription", L"蓝桉房贷按揭计算器"},
        {L"ProductName", L"蓝桉房贷按揭计算器"},
        {L"CompanyName", L"蓝桉工作室"},
        {L"FileVersion", kVersion},
        {L"ProductVersion", kVersion},
        {L"OriginalFilename", L"LananCalc.exe"}};
    for (const auto& [name, expected] : values)
        EXPECT_EQ(expected, static_cast<const wchar_t*>(
                                query(std::wstring(L"\\StringFileInfo\\080404B0\\") + name)))
            << WideToUtf8(name);
    // The line of LICENSE that states the rights, word for word.
    const std::string copyright = WideToUtf8(
        static_cast<const wchar_t*>(query(L"\\StringFileInfo\\080404B0\\LegalCopyright")));
    EXPECT_TRUE(copyright.starts_with("Copyright ") && rights.find(copyright) != std::string::npos)
        << copyright;
}
