// Times fail-over against the local back-end and checks that 1,000 requests leave no threads or
// handles behind.

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>

#include "kestrum/common/scoped_handle.h"
#include "support/recording_observer.h"
#include "support/service_library.h"
#include "support/test_backend.h"

namespace {

int ThreadCount() {
    const kestrum::common::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    }
    return count;
}

DWORD HandleCount() {
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

// Wall time of one configRoom request, from the call to its closing notification.
double TimedRequest(ServiceLibrary& library, unsigned* libraryMs = nullptr) {
    RecordingObserver observer;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    library.configRoom(&observer);
    observer.WaitFinished(std::chrono::seconds(30));
    QueryPerformanceCounter(&end);
    if (libraryMs) *libraryMs = observer.LastElapsedMs();
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double AverageMs(ServiceLibrary& library, int count) {
    double total = 0;
    for (int i = 0; i < count; ++i) total += TimedRequest(library);
    return total / count;
}

void RefuseAll(TestBackend& backend) {
    backend.SetFault("base", "refuse");
    for (int p = 1; p <= 5; ++p) backend.SetFault("proxy" + std::to_string(p), "refuse");
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    TestBackend backend;
    if (!backend.Started()) {
        std::fprintf(stderr, "the test back-end did not start\n");
        return 1;
    }
    ServiceLibrary library(backend.BaseUrl(), backend.BaseUrl(), backend.Proxies(),
                           backend.ProxyPort());
    if (!library.Loaded()) {
        std::fprintf(stderr, "libVossary.dll did not load\n");
        return 1;
    }
    library.init();
    backend.AddUser("bench-token", "1", "Bench");
    library.setUserInfo("bench-token", "1", "Bench", "", "");

    TimedRequest(library);  // warm-up: first connection, first worker
    const double direct = AverageMs(library, 50);
    std::printf("one answering candidate:              %8.2f ms per request\n", direct);

    backend.SetFault("base", "refuse");
    const double overFirst = AverageMs(library, 50);
    std::printf("first refused, second answers:        %8.2f ms per request\n", overFirst);
    std::printf("  cost of the refused attempt:        %8.2f ms\n", overFirst - direct);

    backend.Reset();
    RefuseAll(backend);
    const double allRefused = AverageMs(library, 20);
    std::printf("all six candidates refused:           %8.2f ms per request (%.2f ms per attempt)\n",
                allRefused, allRefused / 6);
    backend.Reset();

    const int threadsBefore = ThreadCount();
    const DWORD handlesBefore = HandleCount();
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < 1000; ++i) TimedRequest(library);
    QueryPerformanceCounter(&end);
    Sleep(200);
    const double total = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart);
    std::printf("1000 sequential requests:             %8.2f ms each\n", total / 1000);
    std::printf("threads before/after:                 %d / %d\n", threadsBefore, ThreadCount());
    std::printf("handles before/after:                 %lu / %lu\n",
                static_cast<unsigned long>(handlesBefore),
                static_cast<unsigned long>(HandleCount()));
    library.uninit();
    return 0;
}
