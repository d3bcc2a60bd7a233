#pragma once

#include <windows.h>

#include <string>

#include "kestrum/core/util_text.h"

// A fresh, empty folder for one test, removed with everything in it when the object goes.
// Unique per process and object, so test programs may run side by side.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = base + std::wstring(L"kestrum-core-") + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter) + L"\\";
        Remove(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { Remove(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // With a trailing backslash.
    const std::wstring& path() const { return path_; }
    std::string narrow() const { return ZuvraKestrum::Util::CStringToString(path_); }

    // Creates a sub-folder and returns its path with a trailing backslash.
    std::wstring MakeFolder(const std::wstring& name) const {
        const std::wstring folder = path_ + name + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }

private:
    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    Remove(folder + name + L"\\");
                } else {
                    DeleteFileW((folder + name).c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};

// Whole content of a file as bytes ("" when it cannot be read).
inline std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        content.append(buffer, read);
    }
    CloseHandle(file);
    return content;
}

inline void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

inline std::string ReadFileBytes(const std::string& path) {
    return ReadFileBytes(ZuvraKestrum::Util::StringToCString(path));
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    WriteFileBytes(ZuvraKestrum::Util::StringToCString(path), bytes);
}
