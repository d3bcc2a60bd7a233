#include "kestrum/engine/channel_folder.h"

#include <cwchar>
#include <vector>

namespace kestrum::standin {

std::wstring ChannelFolder::Root() {
    const DWORD size = GetEnvironmentVariableW(L"KESTRUM_ENGINE_CHANNELS", nullptr, 0);
    if (size == 0) return {};
    std::vector<wchar_t> value(size);
    if (GetEnvironmentVariableW(L"KESTRUM_ENGINE_CHANNELS", value.data(), size) != size - 1)
        return {};
    std::wstring root(value.data());
    if (!root.empty() && root.back() != L'\\') root += L'\\';
    return root;
}

std::wstring ChannelFolder::FolderName(const std::string& channel) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring name;
    for (unsigned char c : channel) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_') {
            name += static_cast<wchar_t>(c);
        } else {
            name += L'%';
            name += kHex[c >> 4];
            name += kHex[c & 15];
        }
    }
    return name.empty() ? L"%" : name;
}

bool ChannelFolder::enter(const std::string& channel, uint32_t uid) {
    leave();
    if (!enabled()) return false;
    CreateDirectoryW(root_.c_str(), nullptr);
    folder_ = root_ + FolderName(channel) + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    const std::wstring file = folder_ + std::to_wstring(uid);
    HANDLE made = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made == INVALID_HANDLE_VALUE) return false;
    CloseHandle(made);
    file_ = file;
    uid_ = uid;
    return true;
}

void ChannelFolder::leave() {
    if (!file_.empty()) DeleteFileW(file_.c_str());
    file_.clear();
}

std::set<uint32_t> ChannelFolder::others() const {
    std::set<uint32_t> users;
    if (file_.empty()) return users;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder_ + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return users;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        wchar_t* end = nullptr;
        const unsigned long uid = std::wcstoul(entry.cFileName, &end, 10);
        // Only names that are a whole number: a half-written file of another writer is not one.
        if (end == entry.cFileName || *end != L'\0' || uid == uid_ || uid > UINT32_MAX) continue;
        users.insert(static_cast<uint32_t>(uid));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return users;
}

}  // namespace kestrum::standin
