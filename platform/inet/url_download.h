// Downloading a URL into a file (the platform's URLDownloadToFileA), over the platform's
// transfer layer (platform/net: redirects, proxy policy, certificates).
// Contract:
// - url: ANSI (GB18030) text, http:// or https:// only (any other scheme answers
//   INET_E_UNKNOWN_PROTOCOL); sent as UTF-8, percent-encoded (platform/net/url_text.h).
//   Redirects are followed (http and https only). Connecting may take 30 s; a transfer that
//   moves nothing for a minute ends.
// - file: program-form path (backslashes, GB18030). A 2xx body is written to a new file beside
//   it and renamed into place only when the transfer completed, so the target is either the
//   whole body or untouched (an existing file survives any failure). A file in a program folder
//   the user may not write lands in its per-user mirror (platform/kernel/virtual_store.h).
// - Answers S_OK only when the file was fully written; otherwise an HRESULT:
//   E_INVALIDARG (null or empty url/file, reserved not 0), INET_E_UNKNOWN_PROTOCOL,
//   INET_E_INVALID_URL, INET_E_RESOURCE_NOT_FOUND (host unknown, HTTP 404 or 410),
//   INET_E_CANNOT_CONNECT, INET_E_CONNECTION_TIMEOUT, INET_E_DOWNLOAD_FAILURE (other HTTP
//   errors, broken transfers), E_ACCESSDENIED (the directory can't be written).
// - caller and callback are accepted and not used.
#pragma once

#include "platform/api/types.h"
#include "platform/com/hresult.h"

extern "C" {
HRESULT URLDownloadToFileA(void* caller, LPCSTR url, LPCSTR file, DWORD reserved, void* callback);
}
