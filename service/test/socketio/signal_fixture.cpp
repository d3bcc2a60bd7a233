#include "signal_fixture.h"

#include <windows.h>

#include "json_codec.h"
#include "kestrum/common/utf.h"
#include "kestrum/testing/wait.h"

namespace {

ksio::Message Parse(const std::string& text) {
    ksio::Message value;
    // An answer that is not JSON stays null, which the caller's expectations then report.
    static_cast<void>(ksio::DecodeJson(text, value));
    return value;
}

std::string Quoted(const std::string& text) {
    std::string json;
    ksio::AppendJson(ksio::Message::FromString(text), json);
    return json;
}

}  // namespace

ksio::Message SignalServer::Get(const std::string& path) {
    return Parse(backend_.Call("GET", path));
}

std::string SignalServer::Origin() { return Get("info").Get("signal").AsString(); }

void SignalServer::Configure(int pingIntervalMs, int pingTimeoutMs) {
    backend_.Call("POST", "signal/config",
                  "{\"pingInterval\":" + std::to_string(pingIntervalMs) +
                      ",\"pingTimeout\":" + std::to_string(pingTimeoutMs) + "}");
}

void SignalServer::Reset() { backend_.Call("POST", "signal/reset"); }

void SignalServer::Fault(const std::string& mode, int count, int downMs) {
    backend_.Call("POST", "signal/fault",
                  "{\"mode\":" + Quoted(mode) + ",\"count\":" + std::to_string(count) +
                      ",\"downMs\":" + std::to_string(downMs) + "}");
}

int SignalServer::Inject(const std::string& event, const std::string& argsJson,
                         const std::string& uid) {
    const std::string answer = backend_.Call(
        "POST", "signal/emit",
        "{\"event\":" + Quoted(event) + ",\"args\":" + argsJson + ",\"uid\":" + Quoted(uid) + "}");
    return static_cast<int>(Parse(answer).Get("sent").AsInt());
}

std::vector<SignalServer::Packet> SignalServer::Received() {
    std::vector<Packet> packets;
    // Kept in a variable: a range-for over a temporary's member would dangle.
    const ksio::Message answer = Get("signal/received");
    for (const ksio::Message& item : answer.Get("received").Elements()) {
        packets.push_back(
            {item.Get("uid").AsString(), item.Get("event").AsString(), item.Get("args")});
    }
    return packets;
}

std::vector<SignalServer::Packet> SignalServer::Received(const std::string& event) {
    std::vector<Packet> packets;
    for (Packet& packet : Received()) {
        if (packet.event == event) packets.push_back(std::move(packet));
    }
    return packets;
}

std::vector<SignalServer::Packet> SignalServer::AwaitReceived(const std::string& event,
                                                              size_t count) {
    std::vector<Packet> packets;
    kestrum::testing_support::WaitUntil([&] {
        packets = Received(event);
        return packets.size() >= count;
    });
    return packets;
}

std::vector<std::string> SignalServer::ConnectionUrls() {
    std::vector<std::string> urls;
    const ksio::Message answer = Get("signal/connections");
    for (const ksio::Message& item : answer.Get("connections").Elements()) {
        urls.push_back(item.Get("url").AsString());
    }
    return urls;
}

Peer::Peer(const std::string& origin, const std::string& uid, const std::string& room,
           const std::string& token) {
    for (const char* event : {"user-join", "user-list", "user-leave", "user-recv-msg",
                              "request-result", "user-request", "user-response"}) {
        Watch(event);
    }
    client_.Connect(origin, {{"uid", uid}, {"channel", room}, {"status", "0"}});
    Emit("authorize", token);
}

Peer::~Peer() { client_.SyncClose(); }

void Peer::Watch(const std::string& event) {
    std::shared_ptr<Record> record = record_;
    client_.DefaultSocket().On(event, [record, event](const ksio::Event& e) {
        {
            std::lock_guard<std::mutex> guard(record->lock);
            record->events[event].push_back(e.Arg(0));
        }
        record->arrivals.Add(event);
    });
}

bool Peer::WaitFor(const std::string& event, size_t count) {
    return record_->arrivals.WaitFor(event, count);
}

ksio::Message Peer::Arg(const std::string& event, size_t nth) {
    std::lock_guard<std::mutex> guard(record_->lock);
    const auto& list = record_->events[event];
    return nth < list.size() ? list[nth] : ksio::Message();
}

void Peer::Emit(const std::string& event, const std::string& text) {
    client_.DefaultSocket().Emit(event, {ksio::Message::FromString(text)});
}

std::unique_ptr<TestBackend> SignalTest::backend_;
std::unique_ptr<ServiceLibrary> SignalTest::library_;
std::unique_ptr<SignalServer> SignalTest::server_;
std::string SignalTest::origin_;
decltype(&::createSocketIOHandle) SignalTest::create_ = nullptr;
decltype(&::destorySocketIOHandle) SignalTest::destroy_ = nullptr;

void SignalTest::SetUpTestSuite() {
    backend_ = std::make_unique<TestBackend>();
    if (!backend_->Started()) return;
    server_ = std::make_unique<SignalServer>(*backend_);
    origin_ = server_->Origin();
    // Short heartbeats, so that a silent server is noticed within a second or two.
    server_->Configure(400, 800);
    // Read by the library when it loads.
    SetEnvironmentVariableW(L"KESTRUM_SIGNAL_URL", kestrum::common::Utf8ToWide(origin_).c_str());
    library_ = std::make_unique<ServiceLibrary>(backend_->BaseUrl(), backend_->BaseUrl(),
                                                backend_->Proxies(), backend_->ProxyPort());
    if (!library_->Loaded()) return;
    library_->init();
    create_ = reinterpret_cast<decltype(create_)>(
        reinterpret_cast<void*>(GetProcAddress(library_->Module(), "createSocketIOHandle")));
    destroy_ = reinterpret_cast<decltype(destroy_)>(
        reinterpret_cast<void*>(GetProcAddress(library_->Module(), "destorySocketIOHandle")));
}

void SignalTest::TearDownTestSuite() {
    if (library_ && library_->Loaded()) library_->uninit();
    library_.reset();
    server_.reset();
    backend_.reset();
}

void SignalTest::SetUp() {
    ASSERT_TRUE(backend_ && backend_->Started()) << "the test back-end did not start";
    ASSERT_FALSE(origin_.empty()) << "the back-end has no signalling listener";
    ASSERT_TRUE(library_ && library_->Loaded()) << "libVossary.dll did not load";
    ASSERT_TRUE(create_ && destroy_) << "the socket exports are missing";
    server_->Reset();
    backend_->Reset(true);
    backend_->AddUser(kToken, kUid, "Alice");
    backend_->AddUser(kPeerToken, kPeerUid, "Bob");
    library_->setUserInfo(kToken, kUid, "Alice", kRoom, "");
}

void SignalTest::TearDown() {
    Destroy(handle_);
    handle_ = nullptr;
}

SignalTest::Handle* SignalTest::Create(ZuvraKestrum::socketio::CSocketIOCallBack* observer) {
    return create_(observer);
}

void SignalTest::Destroy(Handle* handle) { destroy_(handle); }

std::map<std::string, std::string> SignalTest::Query(const std::string& room) {
    return {{"uid", kUid},   {"channel", room},       {"streamId", "20001"},
            {"status", "3"}, {"appversion", "1.0.0"}, {"platform", "win"}};
}

void SignalTest::Join() {
    handle_ = Create(&observer_);
    ASSERT_NE(handle_, nullptr);
    handle_->connect(Query(), "not-this-token");
    ASSERT_TRUE(observer_.WaitFor("room(")) << ::testing::PrintToString(observer_.Lines());
}
