// The main window's units, written once: their ids, the type references and property indexes
// the finder's code reads and writes, and the handler offsets its template binds. The window's
// composition (app/window/) and the finder's routines both take them from here.
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
// Units the code never addresses, only the template holds.
inline constexpr std::uint32_t kWindowUnit = 0x06010000;
inline constexpr std::uint32_t kDownloadItem = 0x26010081;
inline constexpr std::uint32_t kSearchButton = 0x1601001E;
inline constexpr std::uint32_t kArtistLabel = 0x1601001B;
inline constexpr std::uint32_t kTitleLabel = 0x1601001A;
inline constexpr std::uint32_t kCoverFrame = 0x160100BE;

inline constexpr std::uint32_t kWindowType = 0x00010001;
inline constexpr std::uint32_t kMenuType = 0x00010003;
inline constexpr std::uint32_t kListViewType = 0x00020004;
inline constexpr std::uint32_t kPictureBoxType = 0x00010006;
inline constexpr std::uint32_t kEditBoxType = 0x00010005;
inline constexpr std::uint32_t kButtonType = 0x0001000B;
inline constexpr std::uint32_t kLabelType = 0x0001000A;
inline constexpr std::uint32_t kGroupBoxType = 0x00010009;

// Handler offsets in the image's code base, as the template stores them.
inline constexpr std::int32_t kOpenSiteHandler = 0x0000;  // the first application handler
inline constexpr std::int32_t kDownloadHandler = 0x01E0;
inline constexpr std::int32_t kWindowCreatedHandler = 0x135E;
inline constexpr std::int32_t kSearchHandler = 0x1388;
inline constexpr std::int32_t kPopupHandler = 0x1606;
inline constexpr std::int32_t kPreviewHandler = 0x16E7;

// Property indexes.
inline constexpr std::int32_t kContent = 8;     // edit box content, label caption
inline constexpr std::int32_t kPicture = 10;    // picture box picture
inline constexpr std::int32_t kSelection = 35;  // list view: first selected row, -1 for none
inline constexpr std::int32_t kWholeValue = -1;

// List view columns.
inline constexpr std::int32_t kIdColumn = 0;
inline constexpr std::int32_t kAddressColumn = 1;

}  // namespace app::main_window
