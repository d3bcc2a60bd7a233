// Stand-in for the crash handler: records each call and does nothing else, so that the program
// runs, and its set-up can be checked, where the real handler is not available.

#include "kestrum/bugtrap/bugtrap_journal.h"

#include <cwchar>
#include <string>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/common/utf.h"

namespace {

SRWLOCK journalLock = SRWLOCK_INIT;
std::wstring* journal = nullptr;  // never freed: calls may come during process exit

void AppendToJournalFile(const std::wstring& line) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"KESTRUM_BUGTRAP_JOURNAL", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const kestrum::common::ScopedHandle file(
        CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string bytes = kestrum::common::WideToUtf8(line) + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Record(const std::wstring& line) {
    AcquireSRWLockExclusive(&journalLock);
    if (!journal) journal = new std::wstring;
    journal->append(line).append(L"\n");
    AppendToJournalFile(line);
    ReleaseSRWLockExclusive(&journalLock);
}

std::wstring Call(const wchar_t* function, const wchar_t* text) {
    return std::wstring(function) + L"(" + (text ? text : L"(null)") + L")";
}

std::wstring Call(const wchar_t* function, long long number) {
    return std::wstring(function) + L"(" + std::to_wstring(number) + L")";
}

}  // namespace

extern "C" {

void WINAPI BT_SetAppName(const wchar_t* appName) { Record(Call(L"BT_SetAppName", appName)); }

void WINAPI BT_SetFlags(DWORD flags) { Record(Call(L"BT_SetFlags", flags)); }

void WINAPI BT_InstallSehFilter() { Record(L"BT_InstallSehFilter()"); }

void WINAPI BT_SetActivityType(int activityType) {
    Record(Call(L"BT_SetActivityType", activityType));
}

void WINAPI BT_SetReportFilePath(const wchar_t* folder) {
    Record(Call(L"BT_SetReportFilePath", folder));
}

void WINAPI BT_AddLogFile(const wchar_t* logFile) { Record(Call(L"BT_AddLogFile", logFile)); }

size_t WINAPI KestrumBugTrapJournal(wchar_t* buffer, size_t capacity) {
    AcquireSRWLockShared(&journalLock);
    const std::wstring copy = journal ? *journal : std::wstring();
    ReleaseSRWLockShared(&journalLock);
    if (buffer && capacity > 0) {
        const size_t count = copy.size() < capacity ? copy.size() : capacity - 1;
        wmemcpy(buffer, copy.data(), count);
        buffer[count] = L'\0';
    }
    return copy.size();
}

void WINAPI KestrumBugTrapJournalClear() {
    AcquireSRWLockExclusive(&journalLock);
    if (journal) journal->clear();
    ReleaseSRWLockExclusive(&journalLock);
}

}  // extern "C"
