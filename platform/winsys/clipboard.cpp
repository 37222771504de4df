// The clipboard: text only (CF_TEXT in the ANSI code page, CF_UNICODETEXT), kept by the display
// backend as UTF-8 so other programs see it.
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/display/backend.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/clipboard_memory.h"

namespace {

namespace gm = platform::winsys::global_memory;
namespace cp = platform::codepage;

struct Clipboard {
  std::mutex mutex;
  std::optional<std::thread::id> opened_by;
  HWND owner = nullptr;
  // Blocks handed to SetClipboardData and blocks handed out by GetClipboardData: the clipboard
  // owns both until the next EmptyClipboard (or the next read of the same format).
  std::map<UINT, HGLOBAL> stored;
  std::map<UINT, HGLOBAL> handed_out;
};

Clipboard& clipboard() {
  static Clipboard c;
  return c;
}

bool text_format(UINT format) {
  return format == CF_TEXT || format == CF_UNICODETEXT;
}

bool opened_here(const Clipboard& c) {
  return c.opened_by && *c.opened_by == std::this_thread::get_id();
}

// The text of a block up to its terminating NUL (or its end).
std::string utf8_of_block(UINT format, HGLOBAL mem) {
  std::string raw = gm::bytes(mem);
  if (format == CF_TEXT) return cp::ansi_to_utf8(raw.substr(0, raw.find('\0')));
  std::u16string wide(raw.size() / 2, u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i)
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                    static_cast<unsigned char>(raw[2 * i + 1]) << 8);
  return cp::utf16_to_utf8(wide.substr(0, wide.find(u'\0')));
}

std::string block_bytes(UINT format, const std::string& utf8) {
  if (format == CF_TEXT) return cp::utf8_to_ansi(utf8) + '\0';
  std::u16string wide = cp::utf8_to_utf16(utf8);
  std::string out;
  for (char16_t ch : wide) {
    out.push_back(static_cast<char>(ch & 0xFF));
    out.push_back(static_cast<char>(ch >> 8));
  }
  out.append(2, '\0');
  return out;
}

void free_all(std::map<UINT, HGLOBAL>& blocks) {
  for (auto& [format, mem] : blocks) GlobalFree(mem);
  blocks.clear();
}

}  // namespace

extern "C" BOOL OpenClipboard(HWND owner) {
  if (owner && !IsWindow(owner)) return FALSE;
  Clipboard& c = clipboard();
  std::lock_guard lock(c.mutex);
  if (c.opened_by && !opened_here(c)) return FALSE;
  c.opened_by = std::this_thread::get_id();
  c.owner = owner;
  return TRUE;
}

extern "C" BOOL CloseClipboard() {
  Clipboard& c = clipboard();
  std::lock_guard lock(c.mutex);
  if (!opened_here(c)) return FALSE;
  c.opened_by.reset();
  c.owner = nullptr;
  return TRUE;
}

extern "C" BOOL EmptyClipboard() {
  Clipboard& c = clipboard();
  {
    std::lock_guard lock(c.mutex);
    if (!opened_here(c)) return FALSE;
    free_all(c.stored);
    free_all(c.handed_out);
  }
  platform::display::backend().set_clipboard_text("");
  return TRUE;
}

extern "C" HANDLE SetClipboardData(UINT format, HANDLE data) {
  // Delayed rendering (no data) is not offered: the backend needs the text now.
  if (!text_format(format) || !data || GlobalSize(data) == 0) return nullptr;
  Clipboard& c = clipboard();
  std::string utf8;
  {
    std::lock_guard lock(c.mutex);
    if (!opened_here(c)) return nullptr;
    utf8 = utf8_of_block(format, data);
  }
  if (!platform::display::backend().set_clipboard_text(utf8)) return nullptr;
  std::lock_guard lock(c.mutex);
  auto it = c.stored.find(format);
  if (it != c.stored.end() && it->second != data) GlobalFree(it->second);
  c.stored[format] = data;
  return data;
}

extern "C" HANDLE GetClipboardData(UINT format) {
  if (!text_format(format)) return nullptr;
  Clipboard& c = clipboard();
  {
    std::lock_guard lock(c.mutex);
    if (!opened_here(c)) return nullptr;
  }
  std::string utf8 = platform::display::backend().clipboard_text();
  if (utf8.empty()) return nullptr;
  HGLOBAL mem = gm::from_bytes(block_bytes(format, utf8));
  if (!mem) return nullptr;
  std::lock_guard lock(c.mutex);
  auto it = c.handed_out.find(format);
  if (it != c.handed_out.end()) GlobalFree(it->second);
  c.handed_out[format] = mem;
  return mem;
}

extern "C" BOOL IsClipboardFormatAvailable(UINT format) {
  if (!text_format(format)) return FALSE;
  return platform::display::backend().clipboard_text().empty() ? FALSE : TRUE;
}
