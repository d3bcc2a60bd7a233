#pragma once

#include <windows.h>

namespace kestrum::common {

// A reference on the module (the DLL or the program) whose code calls this, so that the module
// stays loaded while something of its own still runs, a thread say; FreeLibrary drops it. Null
// when none could be taken. Inline: each module has its own copy, whose address names it.
inline HMODULE HoldOwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&HoldOwnModule), &module);
    return module;
}

}  // namespace kestrum::common
