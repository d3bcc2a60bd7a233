#pragma once

#include <curl/curl.h>

namespace kestrum::service {

// libcurl's pre-request hook (CURLOPT_PREREQFUNCTION, with the easy handle as its data): on an
// HTTPS connection it checks the server's certificate chain and name against the Windows
// certificate store before the request, and with it the access token, goes out; a connection
// that fails the check is abandoned (the transfer ends with CURLE_ABORTED_BY_CALLBACK and the
// next server is tried). Plain HTTP passes unchecked.
//
// Schannel validates on its own on Windows; the check makes the rule hold wherever the TLS
// layer does not (Wine's, for one, accepts any certificate).
// Threads: runs on the transfer's thread.
int VerifyPeerBeforeRequest(void* easyHandle, char* primaryIp, char* localIp, int primaryPort,
                            int localPort);

}  // namespace kestrum::service
