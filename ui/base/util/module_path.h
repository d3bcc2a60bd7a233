#pragma once

#include <windows.h>

#include <string>

// Where the running code lives. Safe on any thread.
namespace kbase {

// The full path of a module (null: the executable); empty when it cannot be read.
std::wstring ModuleFileName(HMODULE module);

// The path up to and including its last "\" or "/" that is not its first character. False (and
// the output untouched) for a path shorter than two characters or without such a separator.
bool DirectoryPart(const std::wstring& path, std::wstring& directory);

// The folder, with its trailing separator, of the module that contains this code; empty when it
// cannot be found.
std::wstring ModuleDirectory();

}  // namespace kbase
