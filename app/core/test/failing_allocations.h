#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstring>

// Makes the C++ runtime's allocations fail on the thread that holds a FailingAllocations, so that
// a test can see what code does when a copy throws std::bad_alloc. The standard library's
// strings and containers allocate inside the runtime DLL, whose operator new takes its memory
// from malloc through the DLL's import table: Install redirects that import, for the rest of
// the process, to a malloc that fails only on the thread named by the living object. One object
// at a time.
class FailingAllocations {
public:
    // False when the runtime DLL or its malloc import was not found (nothing would fail).
    static bool Install() {
        if (!realMalloc()) redirectRuntimeMalloc();
        return realMalloc() != nullptr;
    }

    FailingAllocations() { failingThread() = GetCurrentThreadId(); }
    ~FailingAllocations() { failingThread() = 0; }
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

private:
    using Malloc = void*(__cdecl*)(size_t);

    static std::atomic<DWORD>& failingThread() {
        static std::atomic<DWORD> thread{0};
        return thread;
    }
    static Malloc& realMalloc() {
        static Malloc real = nullptr;
        return real;
    }

    static void* __cdecl failingMalloc(size_t size) {
        if (GetCurrentThreadId() == failingThread()) return nullptr;
        return realMalloc()(size);
    }

    static void redirectRuntimeMalloc() {
        BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(L"libstdc++-6.dll"));
        if (!base) return;
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        auto* library =
            reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
        for (; library->Name; ++library) {
            auto* name =
                reinterpret_cast<const IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
            auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
            for (; name->u1.AddressOfData; ++name, ++slot) {
                if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
                const auto* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
                const char* imported = reinterpret_cast<const char*>(byName->Name);
                if (std::strcmp(imported, "malloc") == 0) {
                    redirect(slot);
                    return;
                }
            }
        }
    }

    static void redirect(IMAGE_THUNK_DATA* slot) {
        DWORD protection = 0;
        if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                            &protection)) {
            return;
        }
        realMalloc() = reinterpret_cast<Malloc>(slot->u1.Function);
        slot->u1.Function = reinterpret_cast<ULONG_PTR>(&failingMalloc);
        VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
    }
};
