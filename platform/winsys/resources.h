// The program's own resources: icons, cursors and bitmaps that the program registers by name or
// number, found by LoadIconA / LoadCursorA / LoadImageA with a non-null instance handle.
// Contract: a name is either a number (MAKEINTRESOURCEA, 1..65535) or a string compared without
// regard to ASCII case. Registering a name again replaces the earlier entry. Icon and cursor data
// is the content of an .ico or .cur file; bitmaps are ARGB images. Bad data is refused (false)
// when it is registered, never at load time. Thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/api/types.h"
#include "platform/winsys/cursor_images.h"

namespace platform::winsys::resources {

enum class Type { icon, cursor, bitmap };

// One image out of an .ico / .cur file: the bytes CreateIconFromResourceEx takes (for a cursor,
// prefixed with the two 16-bit hot-spot words) and the image's nominal size.
struct FileImage {
  int width = 0;
  int height = 0;
  std::vector<BYTE> bits;
};

using Content = std::variant<cursors::ArgbImage, std::vector<FileImage>>;

// A registered resource and its serial number: every registration gets a new one, so a handle
// made from an entry can be checked against what is registered under the name now.
struct Entry {
  Content content;
  std::uint64_t serial = 0;
};

bool add_image(Type type, LPCSTR name, const cursors::ArgbImage& image);
// `file` is a whole .ico (for icons) or .cur (for cursors) file.
bool add_file(Type type, LPCSTR name, std::span<const BYTE> file);
// Registers the program's two drawn cursors: 1032 (a hand with a pointing finger) and 2008 (an
// arrow dragging a box).
void add_program_cursors();
std::optional<Content> find(Type type, LPCSTR name);
std::optional<Entry> find_entry(Type type, LPCSTR name);
void remove_all();

// Splits an .ico or .cur file into its images; nullopt for anything malformed.
std::optional<std::vector<FileImage>> parse_icon_file(std::span<const BYTE> file, bool cursor);

}  // namespace platform::winsys::resources
