#pragma once

#include <string>
#include <vector>

// The Node.js test back-end (testserver/server.js) run for one test program: started on free
// loopback ports, reached through its control listener, and ended when this object goes (or,
// should the program die, when its lifeline connection closes).
// Threads: one test thread at a time.
class TestBackend {
public:
    // One recorded request as the server saw it.
    struct Request {
        std::string listener;  // "base", "proxy1".."proxy5"
        std::string method;
        std::string path;
        std::string query;                                         // "?..." as sent, or ""
        std::vector<std::pair<std::string, std::string>> headers;  // in wire order
        std::string body;                                          // non-multipart bodies
        std::vector<std::string> parts;  // multipart part names in wire order
        // Bytes of an "endless" answer handed to the connection before it closed; -1 for others.
        long long answerBytes = -1;
        std::string Header(const std::string& name) const;  // "" when absent
        bool HasHeader(const std::string& name) const;
    };

    TestBackend();
    ~TestBackend();

    bool Started() const { return !control_.empty(); }
    const std::string& BaseUrl() const { return base_; }
    // The same services over HTTPS with a self-signed certificate ("https://127.0.0.1:PORT/").
    const std::string& SecureUrl() const { return secure_; }
    const std::vector<std::string>& Proxies() const { return proxies_; }
    unsigned ProxyPort() const { return proxyPort_; }
    std::string ProxyUrl(int index) const;  // "http://127.0.0.x:PORT/" of proxy 1..5

    // Faults of lib/faults.js; listener "base" or "proxy1".."proxy5".
    void SetFault(const std::string& listener, const std::string& mode, int count = -1,
                  int delayMs = 0);
    // A fault with further fields of its mode, given as JSON members ("\"member\":\"token\"").
    void SetFaultWith(const std::string& listener, const std::string& mode,
                      const std::string& fields);
    // Faults off, listeners open, records cleared (and all users and rooms when withState).
    void Reset(bool withState = false);
    // Registers a user the services accept; returns nothing.
    void AddUser(const std::string& token, const std::string& uid, const std::string& name);
    std::vector<Request> Requests();

    // HTTP to the control listener; the body of the answer ("" on failure).
    std::string Call(const std::string& method, const std::string& path,
                     const std::string& json = std::string());

private:
    bool Launch(const std::string& readyFile);
    bool ReadReady(const std::string& readyFile);
    void OpenLifeline();

    std::string control_;
    std::string base_;
    std::string secure_;
    std::vector<std::string> proxies_;
    unsigned proxyPort_ = 0;
    unsigned long long lifeline_ = ~0ull;
};

// The Windows spelling (drive Z:) of a Unix path, as Wine maps it.
std::string WindowsPath(const std::string& unixPath);
