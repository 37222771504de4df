// HttpReadFile's fetch: one GET of an http or https address over the internet client functions,
// the body collected whole.
// Contract: answers the bytes read: the body of any status (an error page's too), and the bytes
// received before a read broke off; empty for an empty or unsplittable address, when the root,
// connection, request or send fails, and for a body longer than kLargestBody. Each call uses
// its own connection and request handles and closes both; the root is shared and stays open.
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
// The most a byte set can carry; a longer body answers nothing rather than part of itself.
inline constexpr std::size_t kLargestBody = 0x7FFFFFF0;

std::vector<std::uint8_t> http_read(std::string_view address, InternetRoot& root,
                                    const InternetFunctions& functions);

// The read size for an announced Content-Length text (null: none announced).
DWORD chunk_size_for(const char* content_length);

}  // namespace libs::internet
