#include "tls_peer_check.h"

#define SECURITY_WIN32
#include <windows.h>
#include <wincrypt.h>

#include <schannel.h>
#include <security.h>

#include <string>

#include "debug_log.h"
#include "kestrum/common/utf.h"

namespace kestrum::service {

namespace {

// The host part of the transfer's URL ("" when it cannot be read).
std::string UrlHost(CURL* curl) {
    char* url = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &url) != CURLE_OK || !url) return "";
    CURLU* parts = curl_url();
    if (!parts) return "";
    std::string host;
    char* value = nullptr;
    if (curl_url_set(parts, CURLUPART_URL, url, 0) == CURLUE_OK &&
        curl_url_get(parts, CURLUPART_HOST, &value, 0) == CURLUE_OK) {
        host = value;
        curl_free(value);
    }
    curl_url_cleanup(parts);
    return host;
}

bool IsHttps(CURL* curl) {
    char* scheme = nullptr;
    return curl_easy_getinfo(curl, CURLINFO_SCHEME, &scheme) == CURLE_OK && scheme &&
           (scheme[0] == 'H' || scheme[0] == 'h') && lstrcmpiA(scheme, "https") == 0;
}

// True when the chain of certificate ends in a trusted root and names host.
bool ChainTrustedFor(PCCERT_CONTEXT certificate, const std::string& host) {
    const std::wstring wideHost = kestrum::common::Utf8ToWide(host);
    LPSTR serverAuth = const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH);
    CERT_CHAIN_PARA chainPara{};
    chainPara.cbSize = sizeof chainPara;
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = &serverAuth;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &chainPara,
                                 0, nullptr, &chain)) {
        return false;
    }
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = const_cast<wchar_t*>(wideHost.c_str());
    CERT_CHAIN_POLICY_PARA policyPara{};
    policyPara.cbSize = sizeof policyPara;
    policyPara.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    const bool checked = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policyPara,
                                                          &status) != FALSE;
    CertFreeCertificateChain(chain);
    if (checked && status.dwError != 0) {
        DebugLog("server certificate of %s refused: 0x%08lx", host.c_str(),
                 static_cast<unsigned long>(status.dwError));
    }
    return checked && status.dwError == 0;
}

// The server's certificate of the TLS session; null when it cannot be had. Secur32 is looked up
// here, at the first check, rather than imported: loading it starts its security packages, tens
// of milliseconds that the program would otherwise spend before its first window (libcurl loads
// it for itself once the library is initialised).
PCCERT_CONTEXT RemoteCertificate(CtxtHandle* context) {
    using Query = SECURITY_STATUS(SEC_ENTRY*)(PCtxtHandle, ULONG, void*);
    static const Query query = [] {
        HMODULE secur32 = LoadLibraryW(L"secur32.dll");
        return secur32 ? reinterpret_cast<Query>(reinterpret_cast<void*>(
                             GetProcAddress(secur32, "QueryContextAttributesW")))
                       : nullptr;
    }();
    PCCERT_CONTEXT certificate = nullptr;
    if (!query || query(context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) != SEC_E_OK) {
        return nullptr;
    }
    return certificate;
}

bool PeerTrusted(CURL* curl) {
    const curl_tlssessioninfo* session = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_TLS_SSL_PTR, &session) != CURLE_OK || !session ||
        session->backend != CURLSSLBACKEND_SCHANNEL || !session->internals) {
        return false;
    }
    PCCERT_CONTEXT certificate = RemoteCertificate(static_cast<CtxtHandle*>(session->internals));
    if (!certificate) return false;
    const bool trusted = ChainTrustedFor(certificate, UrlHost(curl));
    CertFreeCertificateContext(certificate);
    return trusted;
}

}  // namespace

int VerifyPeerBeforeRequest(void* easyHandle, char*, char*, int, int) {
    CURL* curl = static_cast<CURL*>(easyHandle);
    if (!IsHttps(curl)) return CURL_PREREQFUNC_OK;
    return PeerTrusted(curl) ? CURL_PREREQFUNC_OK : CURL_PREREQFUNC_ABORT;
}

}  // namespace kestrum::service
