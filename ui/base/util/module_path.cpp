#include "ui/base/util/module_path.h"

#include <vector>

namespace kbase {

namespace {
// Long-path-aware systems return paths up to this length; MAX_PATH is only the first try.
constexpr DWORD kLongestPath = 32768;
}  // namespace

std::wstring ModuleFileName(HMODULE module) {
  for (DWORD size = MAX_PATH; size <= kLongestPath; size *= 2) {
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetModuleFileNameW(module, buffer.data(), size);
    if (length == 0) return std::wstring();
    if (length < size) return std::wstring(buffer.data(), length);
    // A full buffer means the path was cut: try again with more room.
  }
  return std::wstring();
}

bool DirectoryPart(const std::wstring& path, std::wstring& directory) {
  if (path.size() < 2) return false;
  for (std::size_t i = path.size() - 1; i >= 1; --i) {
    if (path[i] == L'\\' || path[i] == L'/') {
      directory = path.substr(0, i + 1);
      return true;
    }
  }
  return false;
}

std::wstring ModuleDirectory() {
  // The allocation base of the memory holding this function is the handle of its module, which
  // is the executable or a DLL depending on where the framework is linked.
  MEMORY_BASIC_INFORMATION memory = {};
  if (!VirtualQuery(reinterpret_cast<const void*>(&ModuleDirectory), &memory, sizeof(memory))) {
    return std::wstring();
  }
  std::wstring directory;
  if (!DirectoryPart(ModuleFileName(static_cast<HMODULE>(memory.AllocationBase)), directory)) {
    return std::wstring();
  }
  return directory;
}

}  // namespace kbase
