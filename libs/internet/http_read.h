// HttpReadFile's fetch: one GET of an http or https address over the internet client functions,
// the body collected whole.
// Contract: answers the bytes read: the body of any status (an error page's too), and the bytes
// received before a read broke off; empty for an empty or unsplittable address and when the
// root, connection, request or send fails. Each call uses its own connection and request
// handles and closes both; the root is shared and stays open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "libs/internet/internet_functions.h"
#include "libs/internet/internet_root.h"

namespace libs::internet {

inline constexpr DWORD kDefaultChunk = 10240;
inline constexpr DWORD kLargestChunk = 102400;

std::vector<std::uint8_t> http_read(std::string_view address, InternetRoot& root,
                                    const InternetFunctions& functions);

// The read size for an announced Content-Length text (null: none announced).
DWORD chunk_size_for(const char* content_length);

}  // namespace libs::internet
