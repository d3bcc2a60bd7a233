#include "sio_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <winsock2.h>

namespace ksio::test {
namespace {

std::string ReasonOf(CloseReason reason) {
    switch (reason) {
    case CloseReason::kRequested:
        return "requested";
    case CloseReason::kServerDisconnect:
        return "server";
    case CloseReason::kDropped:
        return "dropped";
    }
    return "?";
}

// The fixture runs natively and writes Unix paths; Wine reaches them through drive Z:.
std::string WindowsPath(const std::string& unix_path) {
    return unix_path.empty() || unix_path[0] != '/' ? unix_path : "Z:" + unix_path;
}

}  // namespace

std::string ServerOrigin() {
    const char* dir = std::getenv("KESTRUM_SIO_SERVER_DIR");
    if (!dir) {
        std::fprintf(stderr,
                     "KESTRUM_SIO_SERVER_DIR is not set: run through ctest, or start "
                     "testserver/signalling/ctl start DIR and set it to DIR\n");
        return "";
    }
    std::ifstream file(WindowsPath(std::string(dir) + "/port"));
    int port = 0;
    if (!(file >> port) || port <= 0) {
        std::fprintf(stderr, "no port in %s/port\n", dir);
        return "";
    }
    return "http://127.0.0.1:" + std::to_string(port);
}

std::string ClosedOrigin() {
    // Bound and released at once: nothing will be listening there for the test's duration.
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(s);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

Probe::Probe(Client& client) : client_(client) {
    auto record = record_;
    client.SetOpenListener([record] { record->entries.Add("open"); });
    client.SetCloseListener([record](CloseReason reason) {
        HANDLE thread = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread,
                        SYNCHRONIZE, FALSE, 0);
        {
            std::lock_guard<std::mutex> lock(record->mutex);
            record->close_thread.reset(thread);
        }
        record->entries.Add("close:" + ReasonOf(reason));
    });
    client.SetFailListener([record](const std::string& reason) {
        {
            std::lock_guard<std::mutex> lock(record->mutex);
            record->fail_reasons.push_back(reason);
        }
        record->entries.Add("fail");
    });
    client.SetReconnectListener(
        [record](unsigned attempt, std::chrono::milliseconds delay, const std::string& cause) {
            {
                std::lock_guard<std::mutex> lock(record->mutex);
                record->delays.push_back(delay);
                record->reconnect_causes.push_back(cause);
            }
            record->entries.Add("reconnect:" + std::to_string(attempt));
        });
    client.SetDropListener([record](const std::string& what) {
        {
            std::lock_guard<std::mutex> lock(record->mutex);
            record->drops.push_back(what);
        }
        record->entries.Add("drop");
    });
}

void Probe::Watch(const std::string& event) {
    auto record = record_;
    client_.DefaultSocket().On(event, [record](const Event& e) {
        {
            std::lock_guard<std::mutex> lock(record->mutex);
            record->args[e.Name()].push_back(e.Args());
        }
        record->entries.Add("event:" + e.Name());
    });
}

bool Probe::WaitFor(const std::string& entry, int count) {
    return record_->entries.WaitFor(entry, static_cast<size_t>(count));
}

int Probe::Count(const std::string& entry) const {
    return static_cast<int>(record_->entries.Count(entry));
}

std::vector<std::string> Probe::Entries() const { return record_->entries.Lines(); }

Message::Array Probe::Args(const std::string& event, size_t nth) const {
    std::lock_guard<std::mutex> lock(record_->mutex);
    const auto it = record_->args.find(event);
    if (it == record_->args.end() || nth >= it->second.size()) return {};
    return it->second[nth];
}

std::vector<std::chrono::milliseconds> Probe::ReconnectDelays() const {
    std::lock_guard<std::mutex> lock(record_->mutex);
    return record_->delays;
}

std::vector<std::string> Probe::FailReasons() const {
    std::lock_guard<std::mutex> lock(record_->mutex);
    return record_->fail_reasons;
}

std::vector<std::string> Probe::ReconnectCauses() const {
    std::lock_guard<std::mutex> lock(record_->mutex);
    return record_->reconnect_causes;
}

std::vector<std::string> Probe::Drops() const {
    std::lock_guard<std::mutex> lock(record_->mutex);
    return record_->drops;
}

HANDLE Probe::CloseThread() const {
    std::lock_guard<std::mutex> lock(record_->mutex);
    return record_->close_thread.get();
}

ReconnectPolicy FastRetries(unsigned max_attempts) {
    ReconnectPolicy policy;
    policy.max_attempts = max_attempts;
    policy.initial_delay = 100ms;
    policy.max_delay = 400ms;
    return policy;
}

bool SetServerSwitch(const std::string& name, int64_t count) {
    Client control;
    Probe probe(control);
    probe.Watch("fault-set");
    control.Connect(ServerOrigin());
    control.DefaultSocket().Emit("fault", {Message::FromString(name), Message::FromInt(count)});
    const bool confirmed = probe.WaitFor("event:fault-set");
    control.SyncClose();
    return confirmed;
}

}  // namespace ksio::test
