#pragma once

#include <string>
#include <vector>

// What the sibling stand-ins share: their arguments, and the record file that tests read.
//
// The record file is named by the environment variable KESTRUM_SIBLING_LOG (inherited from the
// program or test that starts the stand-in). Each start appends one line: the arguments, the
// program path first, joined by tabs, in UTF-8, ending in "\n". Without the variable nothing is
// recorded. Several stand-ins may append to the same file at once; each line is one write.
namespace sibling {

constexpr wchar_t kRecordVariable[] = L"KESTRUM_SIBLING_LOG";

// The own command line split as the C runtime splits it (quotes group, the program path first).
std::vector<std::wstring> OwnArguments();

// Appends the line of arguments to the record file; false when nothing was recorded.
bool RecordArguments(const std::vector<std::wstring>& arguments);

// The value of an environment variable; empty when it is unset.
std::wstring EnvironmentValue(const wchar_t* name);

}  // namespace sibling
