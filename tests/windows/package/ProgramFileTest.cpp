// The manifest and the version resource, read from the built program file as
// Windows and Explorer read them.
#include "app/Version.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

#include <shlwapi.h>
#include <xmllite.h>

#include <fstream>
#include <iterator>
#include <set>

const wchar_t* const kProgram = LANAN_PROGRAM_FILE;

// Each element as "namespace|name", with "@attribute=value" or "=text" after
// it. A malformed manifest keeps the program from starting at all.
TEST(ProgramFile, ManifestIsWellFormedXmlAndAsksForWhatTheProgramNeeds) {
    HMODULE exe = LoadLibraryExW(kProgram, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_TRUE(res);
    IStream* stream = SHCreateMemStream(static_cast<BYTE*>(LockResource(LoadResource(exe, res))),
                                        SizeofResource(exe, res));
    IXmlReader* xml = nullptr;
    auto create = reinterpret_cast<decltype(&CreateXmlReader)>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"xmllite.dll"), "CreateXmlReader")));
    ASSERT_EQ(S_OK, create(__uuidof(IXmlReader), reinterpret_cast<void**>(&xml), nullptr));
    xml->SetInput(stream);
    std::set<std::wstring> seen;
    std::wstring at;
    XmlNodeType type;
    HRESULT hr;
    const wchar_t *ns, *name, *value;
    while ((hr = xml->Read(&type)) == S_OK) {
        if (type == XmlNodeType_Text && xml->GetValue(&value, nullptr) == S_OK)
            seen.insert(at + L"=" + value);
        if (type != XmlNodeType_Element) continue;
        xml->GetNamespaceUri(&ns, nullptr);
        xml->GetLocalName(&name, nullptr);
        seen.insert(at = std::wstring(ns) + L"|" + name);
        for (HRESULT a = xml->MoveToFirstAttribute(); a == S_OK; a = xml->MoveToNextAttribute())
            if (xml->GetLocalName(&name, nullptr) == S_OK && xml->GetValue(&value, nullptr) == S_OK)
                seen.insert(at + L"@" + name + L"=" + value);
    }
    EXPECT_EQ(S_FALSE, hr) << "not well-formed XML";
    xml->Release();
    stream->Release();
    FreeLibrary(exe);
    const std::wstring asm1 = L"urn:schemas-microsoft-com:asm.v1|",
                       asm3 = L"urn:schemas-microsoft-com:asm.v3|",
                       os = L"urn:schemas-microsoft-com:compatibility.v1|supportedOS@Id={",
                       smi = L"http://schemas.microsoft.com/SMI/";
    for (const std::wstring& expected :
         {asm1 + L"assembly@manifestVersion=1.0", asm3 + L"requestedExecutionLevel@level=asInvoker",
          os + L"35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          os + L"4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          os + L"1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          os + L"8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
          smi + L"2005/WindowsSettings|dpiAware=false",
          smi + L"2017/WindowsSettings|gdiScaling=true"})
        EXPECT_TRUE(seen.count(expected)) << WideToUtf8(expected);
    EXPECT_FALSE(seen.count(asm1 + L"dependency"))
        << "common controls 6: the skin draws classic ones";
}

TEST(ProgramFile, VersionResourceNamesProgramMakerVersionAndRights) {
    std::vector<BYTE> info(GetFileVersionInfoSizeW(kProgram, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(kProgram, 0, DWORD(info.size()), info.data()));
    auto query = [&](const std::wstring& name) -> const void* {
        void* p = nullptr;
        UINT size = 0;
        const std::wstring path = name[0] == L'\\' ? name : L"\\StringFileInfo\\080404B0\\" + name;
        return VerQueryValueW(info.data(), path.c_str(), &p, &size) && size ? p : L"";
    };
    EXPECT_EQ(MAKELONG(0x0804, 1200),
              *static_cast<const DWORD*>(query(L"\\VarFileInfo\\Translation")));
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"FileDescription", L"蓝桉房贷按揭计算器"},
        {L"ProductName", L"蓝桉房贷按揭计算器"},
        {L"CompanyName", L"蓝桉工作室"},
        {L"FileVersion", kVersion},
        {L"ProductVersion", kVersion},
        {L"OriginalFilename", L"LananCalc.exe"}};
    for (const auto& [name, expected] : values)
        EXPECT_EQ(expected, static_cast<const wchar_t*>(query(name))) << WideToUtf8(name);
    // The line of LICENSE that states the rights, word for word.
    std::ifstream file(LANAN_LICENSE_FILE, std::ios::binary);
    const std::string license(std::istreambuf_iterator<char>(file), {});
    const std::string rights = WideToUtf8(static_cast<const wchar_t*>(query(L"LegalCopyright")));
    EXPECT_TRUE(rights.starts_with("Copyright ") && license.find(rights) != std::string::npos)
        << rights;
}
