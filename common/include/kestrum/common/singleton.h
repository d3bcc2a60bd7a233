#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>

// CSingleton<T>: one lazily created instance of T per module, reached through getInstance.
// CSingleton<T>::CGrabo: the static holder that creates the type's lock when the module loads and
// deletes the instance when the module unloads.
//
// Usage: derive `class CFoo : public CSingleton<CFoo>` (the base's constructor is protected, so
// CFoo declares `friend class CSingleton<CFoo>;` when its own constructor is private), and define
// one holder per type at namespace scope in one source file of the module, in the order the
// locks are to be created:
//     static CSingleton<CFoo>::CGrabo fooHolder;
// Holders defined in one file are built in order and destroyed in the reverse order, which is
// why they are not static members of the template (those have no defined order).
//
// Threads: getInstance may be called on any thread, also before the holder exists (the lock is
// then created on demand). The instance is owned by the holder; nobody else deletes it. The
// holder's destructor runs on the thread that unloads the module.
//
// Process exit: when a DLL is detached because the process ends, Windows has already killed the
// module's other threads, possibly while they held this lock, the heap lock or a stdio lock.
// DllMain then calls kestrum::common::MarkProcessExiting(), and the holders leave their
// instances, locks and traces alone instead of risking a deadlock; the memory goes with the
// process. A program (not a DLL) never needs to call it: its exit-time destructors run while its
// threads still live.

namespace kestrum::common {

namespace detail {
// One flag per module: each DLL and the program get their own copy of this inline variable.
inline std::atomic<bool> processExiting{false};
}  // namespace detail

// Called from DllMain at DLL_PROCESS_DETACH when lpReserved is not null.
inline void MarkProcessExiting() { detail::processExiting.store(true); }

// True once MarkProcessExiting ran: stop, join and lock nothing any more.
inline bool IsProcessExiting() { return detail::processExiting.load(); }

// The unqualified spelling of T as the compiler names it ("CKestrumUserToken"), for traces.
template <class T>
std::string SingletonTypeName() {
    // GCC: "... [with T = CFoo; ...]", clang: "... [T = CFoo]".
    const std::string pretty = __PRETTY_FUNCTION__;
    const std::string::size_type start = pretty.find("T = ");
    if (start == std::string::npos) return "?";
    const std::string::size_type first = start + 4;
    const std::string::size_type end = pretty.find_first_of(";]", first);
    return pretty.substr(first, end == std::string::npos ? std::string::npos : end - first);
}

// "CSingleton<class CFoo>::" followed by the member's name.
template <class T>
std::string SingletonTrace(const char* member) {
    return "CSingleton<class " + SingletonTypeName<T>() + ">::" + member;
}

// Writes the line and its end to the standard output in one call. printf hands a stream without
// a buffer (a GUI program's standard output) one character at a time, each a write of its own:
// under Wine a server round trip each, some 40 ms for the holders' lines before WinMain.
inline void PrintTraceLine(std::string line) {
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace kestrum::common

template <class T>
class CSingleton {
public:
    // The instance, created with T's default constructor on first use, after which its Init hook
    // runs once with the argument (under the type's lock, so a concurrent caller waits until Init
    // has finished). Never null unless allocation throws.
    static T* getInstance(void* argument = nullptr);

    // The instance if it has been created, else null; never creates one.
    static T* existingInstance() { return instance_.load(std::memory_order_acquire); }

    // Hook run once right after creation; empty unless a type needs its creation argument.
    virtual void Init(void* argument) { (void)argument; }

    virtual ~CSingleton();

    // The static holder of the type (see the file comment).
    class CGrabo {
    public:
        CGrabo();
        ~CGrabo();
        CGrabo(const CGrabo&) = delete;
        CGrabo& operator=(const CGrabo&) = delete;
    };

protected:
    CSingleton();

private:
    static CRITICAL_SECTION* lock();
    static CRITICAL_SECTION* createLock();

    static inline std::atomic<T*> instance_{nullptr};
    static inline std::atomic<CRITICAL_SECTION*> lock_{nullptr};
};

template <class T>
CSingleton<T>::CSingleton() {
    kestrum::common::PrintTraceLine(kestrum::common::SingletonTrace<T>("CSingleton"));
}

template <class T>
CSingleton<T>::~CSingleton() {
    // The holder may already own the lock (it deletes us under it); critical sections nest.
    // Only the instance itself clears the pointer: a second object of the type built directly
    // (a test's private configuration, say) must not orphan the real one.
    if (!kestrum::common::IsProcessExiting()) {
        CRITICAL_SECTION* section = lock();
        EnterCriticalSection(section);
        T* current = instance_.load(std::memory_order_acquire);
        if (current && static_cast<CSingleton<T>*>(current) == this) {
            instance_.store(nullptr, std::memory_order_release);
        }
        LeaveCriticalSection(section);
    }
    kestrum::common::PrintTraceLine(kestrum::common::SingletonTrace<T>("~CSingleton"));
}

template <class T>
CRITICAL_SECTION* CSingleton<T>::createLock() {
    CRITICAL_SECTION* section = new (std::nothrow) CRITICAL_SECTION;
    if (section) InitializeCriticalSection(section);
    return section;
}

// The lock, created on demand when no holder made it (a lost race frees the spare one).
template <class T>
CRITICAL_SECTION* CSingleton<T>::lock() {
    CRITICAL_SECTION* section = lock_.load(std::memory_order_acquire);
    if (section) return section;
    CRITICAL_SECTION* created = createLock();
    if (!created) throw std::bad_alloc();
    if (lock_.compare_exchange_strong(section, created, std::memory_order_acq_rel)) return created;
    DeleteCriticalSection(created);
    delete created;
    return section;
}

template <class T>
T* CSingleton<T>::getInstance(void* argument) {
    T* existing = instance_.load(std::memory_order_acquire);
    if (existing) return existing;
    CRITICAL_SECTION* section = lock();
    EnterCriticalSection(section);
    T* created = instance_.load(std::memory_order_acquire);
    if (!created) {
        try {
            created = new T();
        } catch (...) {
            LeaveCriticalSection(section);
            throw;
        }
        instance_.store(created, std::memory_order_release);
        created->Init(argument);
    }
    LeaveCriticalSection(section);
    return created;
}

template <class T>
CSingleton<T>::CGrabo::CGrabo() {
    CRITICAL_SECTION* section = lock_.load(std::memory_order_acquire);
    if (!section) {
        section = createLock();
        lock_.store(section, std::memory_order_release);
    }
    char address[24];
    std::snprintf(address, sizeof address, " %llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(section)));
    kestrum::common::PrintTraceLine(kestrum::common::SingletonTrace<T>("CGrabo::CGrabo") + address);
}

template <class T>
CSingleton<T>::CGrabo::~CGrabo() {
    if (kestrum::common::IsProcessExiting()) return;
    CRITICAL_SECTION* section = lock_.load(std::memory_order_acquire);
    if (section) EnterCriticalSection(section);
    T* instance = instance_.exchange(nullptr, std::memory_order_acq_rel);
    delete instance;
    if (section) {
        LeaveCriticalSection(section);
        lock_.store(nullptr, std::memory_order_release);
        DeleteCriticalSection(section);
        delete section;
    }
    kestrum::common::PrintTraceLine(kestrum::common::SingletonTrace<T>("CGrabo::~CGrabo"));
}
