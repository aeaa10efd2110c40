#pragma once

// Files the Windows tests write: a scratch folder removed with everything in
// it, and the bytes of a file.

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A folder under the temporary directory, named per test program and process.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::wstring& name) {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        path = std::wstring(tmp) + name + L"-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        // A test may have left the folder or its files read-only.
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        for (const std::wstring& name : Files()) {
            const std::wstring file = path + L"\\" + name;
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(path.c_str());
    }
    // The names of the files in it, sorted.
    std::vector<std::wstring> Files() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(data.cFileName);
        } while (FindNextFileW(h, &data));
        FindClose(h);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::wstring operator/(const std::wstring& name) const { return path + L"\\" + name; }

    std::wstring path;
};

inline std::string FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
