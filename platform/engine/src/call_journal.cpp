#include "kestrum/engine/call_journal.h"

#include <windows.h>

#include <cstring>

#include "kestrum/common/scoped_handle.h"

namespace kestrum::standin {

void CallJournal::record(const std::string& line) {
    std::lock_guard<std::mutex> guard(lock_);
    lines_.append(line).append("\n");
    appendToFile(line);
}

std::string CallJournal::text() const {
    std::lock_guard<std::mutex> guard(lock_);
    return lines_;
}

void CallJournal::clear() {
    std::lock_guard<std::mutex> guard(lock_);
    lines_.clear();
}

size_t CallJournal::copyTo(char* buffer, size_t capacity) const {
    const std::string copy = text();
    if (buffer && capacity > 0) {
        const size_t count = copy.size() < capacity ? copy.size() : capacity - 1;
        std::memcpy(buffer, copy.data(), count);
        buffer[count] = '\0';
    }
    return copy.size();
}

void CallJournal::appendToFile(const std::string& line) const {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(fileVariable_, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const kestrum::common::ScopedHandle file(
        CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string bytes = line + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string JournalCall(const char* name, std::initializer_list<std::string> arguments) {
    std::string line = name;
    line += '(';
    bool first = true;
    for (const std::string& argument : arguments) {
        if (!first) line += ',';
        line += argument;
        first = false;
    }
    line += ')';
    return line;
}

std::string JournalText(const char* text) { return text ? std::string(text) : "(null)"; }

}  // namespace kestrum::standin
