// The main window's units as the finder's code addresses them: ids, type references and the
// property indexes it reads and writes.
#pragma once

#include <cstdint>

namespace app::main_window {

inline constexpr std::uint32_t kWindow = 0x52010001;

inline constexpr std::uint32_t kHintLabel = 0x160100BF;
inline constexpr std::uint32_t kRowMenu = 0x26010080;
inline constexpr std::uint32_t kCoverPicture = 0x16010074;
inline constexpr std::uint32_t kLyricPreview = 0x1601005D;
inline constexpr std::uint32_t kArtistEdit = 0x1601001D;
inline constexpr std::uint32_t kTitleEdit = 0x1601001C;
inline constexpr std::uint32_t kResultList = 0x16010019;

inline constexpr std::uint32_t kWindowType = 0x00010001;
inline constexpr std::uint32_t kMenuType = 0x00010003;
inline constexpr std::uint32_t kListViewType = 0x00020004;

// Property indexes.
inline constexpr std::int32_t kContent = 8;     // edit box content, label caption
inline constexpr std::int32_t kPicture = 10;    // picture box picture
inline constexpr std::int32_t kSelection = 35;  // list view: first selected row, -1 for none
inline constexpr std::int32_t kWholeValue = -1;

// List view columns.
inline constexpr std::int32_t kIdColumn = 0;
inline constexpr std::int32_t kAddressColumn = 1;

}  // namespace app::main_window
