// The internet client functions (the platform's HTTP subset of its internet library), on libcurl.
// Contract:
// - Handles form a tree: InternetOpenA gives a root, InternetConnectA a connection under it,
//   HttpOpenRequestA a request under that. A child keeps what it needs of its parents alive, so
//   handles may be closed in any order. A handle that was never issued or is already closed is
//   rejected with ERROR_INVALID_HANDLE. Every function may be called from any thread.
// - Failures answer null or FALSE and set the thread's last error (GetLastError) to one of the
//   ERROR_* codes below.
// - http and https only. The request sends the request line (verb, object path, version), a Host
//   header, the agent as User-Agent when one was given, the request's Accept header built from its
//   accept types, and the header lines given to HttpSendRequestA, which replace headers of the
//   same name; nothing else. Object paths are sent as given, except that bytes outside printable
//   ASCII are sent UTF-8 and percent-encoded so a request line can't be broken up.
// - HttpSendRequestA returns once the final response's headers have arrived (redirects between
//   http and https are followed unless INTERNET_FLAG_NO_AUTO_REDIRECT). InternetReadFile then
//   blocks until it can fill the caller's buffer or the body ends; it answers TRUE with 0 bytes
//   at the end of the body, and FALSE once the transfer broke off and every byte received
//   before that has been handed out.
// - Proxies: INTERNET_OPEN_TYPE_DIRECT uses none; INTERNET_OPEN_TYPE_PRECONFIG uses the
//   environment's (http_proxy, https_proxy, no_proxy), never for loopback hosts;
//   INTERNET_OPEN_TYPE_PROXY the given server ("host:port" or "http=host:port https=...").
// - Server certificates are checked against the system's trusted authorities, or against the file
//   named by SSL_CERT_FILE when that is set.
// - There is no cache: INTERNET_FLAG_RELOAD and INTERNET_FLAG_NO_CACHE_WRITE are accepted and
//   change nothing.
#pragma once

#include "platform/api/kernel.h"
#include "platform/api/types.h"

using HINTERNET = void*;
using INTERNET_PORT = WORD;

inline constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;

inline constexpr DWORD INTERNET_SERVICE_HTTP = 3;
inline constexpr INTERNET_PORT INTERNET_INVALID_PORT_NUMBER = 0;
inline constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
inline constexpr INTERNET_PORT INTERNET_DEFAULT_HTTPS_PORT = 443;

inline constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
inline constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
inline constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;

inline constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;
inline constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
inline constexpr DWORD INTERNET_OPTION_PROXY = 38;
inline constexpr DWORD INTERNET_OPTION_PROXY_USERNAME = 43;
inline constexpr DWORD INTERNET_OPTION_PROXY_PASSWORD = 44;

inline constexpr DWORD HTTP_QUERY_CONTENT_TYPE = 1;
inline constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
inline constexpr DWORD HTTP_QUERY_LOCATION = 33;
inline constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
inline constexpr DWORD HTTP_QUERY_STATUS_TEXT = 20;
inline constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;
// Modifier: answer the value as a DWORD number instead of text.
inline constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;

inline constexpr DWORD INTERNET_MAX_HOST_NAME_LENGTH = 256;
inline constexpr DWORD INTERNET_MAX_USER_NAME_LENGTH = 128;
inline constexpr DWORD INTERNET_MAX_PASSWORD_LENGTH = 128;
inline constexpr DWORD INTERNET_MAX_PATH_LENGTH = 2048;

inline constexpr DWORD ERROR_INTERNET_OUT_OF_HANDLES = 12001;
inline constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
inline constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
inline constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr DWORD ERROR_INTERNET_INVALID_OPTION = 12009;
inline constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
inline constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
inline constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr DWORD ERROR_INTERNET_CONNECTION_RESET = 12031;
inline constexpr DWORD ERROR_INTERNET_INVALID_CA = 12045;
inline constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
inline constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
inline constexpr DWORD ERROR_HTTP_INVALID_HEADER = 12153;
inline constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;
inline constexpr DWORD ERROR_INTERNET_SECURE_FAILURE = 12175;

using INTERNET_SCHEME = int;
inline constexpr INTERNET_SCHEME INTERNET_SCHEME_UNKNOWN = -1;
inline constexpr INTERNET_SCHEME INTERNET_SCHEME_HTTP = 3;
inline constexpr INTERNET_SCHEME INTERNET_SCHEME_HTTPS = 4;

// The proxy record of INTERNET_OPTION_PROXY (native pointers, so 24 bytes here).
struct INTERNET_PROXY_INFO {
  DWORD dwAccessType;
  LPCSTR lpszProxy;
  LPCSTR lpszProxyBypass;
};

// Components of InternetCrackUrlA. For each component: a buffer with its length (including
// room for the NUL) receives a copy and the length copied; a null pointer with a non-zero
// length receives a pointer into the address and the component's length; a zero length
// skips the component. Without the extra-info component, the path keeps "?query#fragment".
struct URL_COMPONENTSA {
  DWORD dwStructSize;
  LPSTR lpszScheme;
  DWORD dwSchemeLength;
  INTERNET_SCHEME nScheme;
  LPSTR lpszHostName;
  DWORD dwHostNameLength;
  INTERNET_PORT nPort;
  LPSTR lpszUserName;
  DWORD dwUserNameLength;
  LPSTR lpszPassword;
  DWORD dwPasswordLength;
  LPSTR lpszUrlPath;
  DWORD dwUrlPathLength;
  LPSTR lpszExtraInfo;
  DWORD dwExtraInfoLength;
};

extern "C" {
// agent: the User-Agent text (null or empty: none sent). flags must be 0 (no asynchronous mode).
HINTERNET InternetOpenA(LPCSTR agent, DWORD access_type, LPCSTR proxy, LPCSTR proxy_bypass, DWORD flags);
// port 0 takes the scheme's default (80, or 443 for a request with INTERNET_FLAG_SECURE).
// user and password (null or empty: none) answer a server's authentication challenge.
HINTERNET InternetConnectA(HINTERNET internet, LPCSTR server, INTERNET_PORT port, LPCSTR user,
                           LPCSTR password, DWORD service, DWORD flags, DWORD_PTR context);
// On a root: INTERNET_OPTION_PROXY (an INTERNET_PROXY_INFO). On a connection or request: the
// proxy user name and password (text, length counting at most up to a NUL). On any handle: the
// connect and receive timeouts (DWORD milliseconds; children take their parent's at creation).
BOOL InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD length);
// verb null: "GET"; version null: "HTTP/1.1" (otherwise "HTTP/1.0" or "HTTP/1.1");
// accept_types: null-terminated list; its entries (trimmed) are joined into one Accept header.
HINTERNET HttpOpenRequestA(HINTERNET connect, LPCSTR verb, LPCSTR object, LPCSTR version, LPCSTR referrer,
                           LPCSTR* accept_types, DWORD flags, DWORD_PTR context);
// headers: CRLF-separated "Name: value" lines, length (DWORD)-1 for NUL-terminated text. A
// request is sent once.
BOOL HttpSendRequestA(HINTERNET request, LPCSTR headers, DWORD headers_length, LPVOID optional,
                      DWORD optional_length);
// Text answers: copied with a NUL and *length set to the text length; too small a buffer
// answers ERROR_INSUFFICIENT_BUFFER with *length the size needed. index (may be null) picks the
// n-th header of a repeated name and is advanced on success.
BOOL HttpQueryInfoA(HINTERNET request, DWORD info_level, LPVOID buffer, LPDWORD length, LPDWORD index);
BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD to_read, LPDWORD read);
BOOL InternetCloseHandle(HINTERNET internet);
// url_length 0: url is NUL-terminated. flags must be 0 (no escaping or decoding). Only http
// and https addresses are split; the port defaults to the scheme's.
BOOL InternetCrackUrlA(LPCSTR url, DWORD url_length, DWORD flags, URL_COMPONENTSA* components);
}
