#include "test_backend.h"

#include <winsock2.h>
#include <windows.h>

#include <curl/curl.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "kestrum/common/utf.h"
#include "kestrum/json/json_document.h"
#include "kestrum/testing/wait.h"

namespace {

size_t Collect(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

std::string Text(const JsonNode* node) {
    return node && (node->type & JSON_TYPE_MASK) == JSON_STRING && node->valuestring
               ? node->valuestring
               : std::string();
}

std::string Member(const JsonNode* object, const char* key) {
    return Text(object ? json_find_member(object, key) : nullptr);
}

TestBackend::Request ReadRequest(const JsonNode* node) {
    TestBackend::Request request;
    request.listener = Member(node, "listener");
    request.method = Member(node, "method");
    request.path = Member(node, "path");
    request.query = Member(node, "query");
    request.body = Member(node, "body");
    if (const JsonNode* headers = json_find_member(node, "headers")) {
        for (const JsonNode* pair = headers->child; pair; pair = pair->next) {
            const JsonNode* name = pair->child;
            request.headers.emplace_back(Text(name), Text(name ? name->next : nullptr));
        }
    }
    if (const JsonNode* bytes = json_find_member(node, "answerBytes")) {
        request.answerBytes = static_cast<long long>(bytes->valueint);
    }
    if (const JsonNode* parts = json_find_member(node, "parts")) {
        for (const JsonNode* part = parts->child; part; part = part->next) {
            request.parts.push_back(Text(part));
        }
    }
    return request;
}

}  // namespace

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string TestBackend::Request::Header(const std::string& name) const {
    for (const auto& header : headers) {
        if (_stricmp(header.first.c_str(), name.c_str()) == 0) return header.second;
    }
    return std::string();
}

bool TestBackend::Request::HasHeader(const std::string& name) const {
    for (const auto& header : headers) {
        if (_stricmp(header.first.c_str(), name.c_str()) == 0) return true;
    }
    return false;
}

TestBackend::TestBackend() {
    const std::string readyFile = std::string(KESTRUM_TEST_WORKDIR) + "/backend-" +
                                  std::to_string(GetCurrentProcessId()) + ".json";
    DeleteFileA(WindowsPath(readyFile).c_str());
    if (!Launch(readyFile) || !ReadReady(readyFile)) return;
    DeleteFileA(WindowsPath(readyFile).c_str());
    OpenLifeline();
}

TestBackend::~TestBackend() {
    if (!Started()) return;
    Call("POST", "shutdown");
    if (lifeline_ != ~0ull) closesocket(static_cast<SOCKET>(lifeline_));
}

// Wine starts the Unix node program directly; it gets no usable process handle or pipes, so the
// server reports through the ready file and lives as long as the lifeline connection. Wine makes
// no process or thread object for it either, and leaves the handles and ids it reports as its
// own stack held them: they are no handles of ours, and closing them would close whatever handle
// of the program has that value (it closed the test thread's desktop, so that the thread could
// make no window after).
bool TestBackend::Launch(const std::string& readyFile) {
    std::string command = std::string("\"") + WindowsPath(KESTRUM_NODE_EXE) + "\" \"" +
                          KESTRUM_TESTSERVER_DIR + "/server.js\" --ready-file \"" + readyFile +
                          "\" --lifeline --idle-exit 300";
    std::wstring wide = kestrum::common::Utf8ToWide(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    return CreateProcessW(nullptr, &wide[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != FALSE;
}

bool TestBackend::ReadReady(const std::string& readyFile) {
    // Node takes its time to start on a busy machine: the tests' timeout, not a count of tries.
    const auto deadline =
        std::chrono::steady_clock::now() + kestrum::testing_support::TestTimeout();
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(WindowsPath(readyFile), std::ios::binary);
        if (in) {
            std::stringstream text;
            text << in.rdbuf();
            jdoc::CJsonDocument doc(text.str());
            if (doc.ReadStringMember("control", control_) && doc.ReadStringMember("base", base_)) {
                doc.ReadStringMember("secure", secure_);
                jdoc::CJsonDocument& proxies = doc.MemberObject("proxies");
                for (int32_t p = 0; p < proxies.ArrayLength(); ++p) {
                    std::string address;
                    proxies.ReadStringAt(p, address);
                    proxies_.push_back(address);
                }
                const JsonNode* port = json_find_member(doc.Node(), "proxyPort");
                proxyPort_ = port ? static_cast<unsigned>(port->valueint) : 0;
                return true;
            }
        }
        Sleep(50);
    }
    return false;
}

void TestBackend::OpenLifeline() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    const unsigned port =
        static_cast<unsigned>(std::stoul(control_.substr(control_.rfind(':') + 1)));
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        closesocket(s);
        return;
    }
    const char request[] = "GET /lifeline HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    send(s, request, sizeof request - 1, 0);
    lifeline_ = static_cast<unsigned long long>(s);
}

std::string TestBackend::ProxyUrl(int index) const {
    return "http://" + proxies_.at(static_cast<size_t>(index - 1)) + ":" +
           std::to_string(proxyPort_) + "/";
}

std::string TestBackend::Call(const std::string& method, const std::string& path,
                              const std::string& json) {
    CURL* curl = curl_easy_init();
    if (!curl) return std::string();
    std::string answer;
    const std::string url = control_ + path;
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    if (method == "POST") {
        const std::string body = json.empty() ? "{}" : json;
        curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body.c_str());
    }
    const CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return code == CURLE_OK ? answer : std::string();
}

void TestBackend::SetFault(const std::string& listener, const std::string& mode, int count,
                           int delayMs) {
    Call("POST", "fault",
         "{\"listener\":\"" + listener + "\",\"mode\":\"" + mode + "\",\"count\":" +
             std::to_string(count) + ",\"delayMs\":" + std::to_string(delayMs) + "}");
}

void TestBackend::SetFaultWith(const std::string& listener, const std::string& mode,
                               const std::string& fields) {
    Call("POST", "fault",
         "{\"listener\":\"" + listener + "\",\"mode\":\"" + mode + "\"," + fields + "}");
}

void TestBackend::Reset(bool withState) {
    Call("POST", "reset", withState ? "{\"state\":true}" : "{}");
}

void TestBackend::AddUser(const std::string& token, const std::string& uid,
                          const std::string& name) {
    Call("POST", "user",
         "{\"token\":\"" + token + "\",\"uid\":\"" + uid + "\",\"name\":\"" + name + "\"}");
}

std::vector<TestBackend::Request> TestBackend::Requests() {
    jdoc::CJsonDocument doc(Call("GET", "requests"));
    std::vector<Request> requests;
    const JsonNode* list = doc.Node() ? json_find_member(doc.Node(), "requests") : nullptr;
    for (const JsonNode* item = list ? list->child : nullptr; item; item = item->next) {
        requests.push_back(ReadRequest(item));
    }
    return requests;
}
