// Drawing entry points refuse a DC or object handle that is stale, never issued, or of another
// kind: their failure value, with ERROR_INVALID_HANDLE for GetLastError.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gdi_fixture.h"
#include "platform/api/kernel.h"

namespace gdi_test {
namespace {

struct Entry {
  const char* name;
  std::function<bool(HANDLE)> fails;  // true when the call answered its failure value
};

const RECT kBox{0, 0, 4, 4};

// Entries whose handle argument is a DC.
const std::vector<Entry>& dc_entries() {
  static const std::vector<Entry> all = {
      {"SaveDC", [](HANDLE h) { return SaveDC(static_cast<HDC>(h)) == 0; }},
      {"GetDeviceCaps", [](HANDLE h) { return GetDeviceCaps(static_cast<HDC>(h), HORZRES) == 0; }},
      {"SelectObject",
       [](HANDLE h) { return SelectObject(static_cast<HDC>(h), GetStockObject(BLACK_PEN)) == nullptr; }},
      {"SetTextColor", [](HANDLE h) { return SetTextColor(static_cast<HDC>(h), 0) == CLR_INVALID; }},
      {"SetBkColor", [](HANDLE h) { return SetBkColor(static_cast<HDC>(h), 0) == CLR_INVALID; }},
      {"SetBkMode", [](HANDLE h) { return SetBkMode(static_cast<HDC>(h), TRANSPARENT) == 0; }},
      {"GetTextMetricsA",
       [](HANDLE h) {
         TEXTMETRICA tm;
         return !GetTextMetricsA(static_cast<HDC>(h), &tm);
       }},
      {"TextOutA", [](HANDLE h) { return !TextOutA(static_cast<HDC>(h), 0, 0, "x", 1); }},
      {"FillRect", [](HANDLE h) { return FillRect(static_cast<HDC>(h), &kBox, GetSysColorBrush(0)) == 0; }},
      {"Rectangle", [](HANDLE h) { return !Rectangle(static_cast<HDC>(h), 0, 0, 4, 4); }},
      {"LineTo", [](HANDLE h) { return !LineTo(static_cast<HDC>(h), 4, 4); }},
      {"GetPixel", [](HANDLE h) { return GetPixel(static_cast<HDC>(h), 0, 0) == CLR_INVALID; }},
      {"PatBlt", [](HANDLE h) { return !PatBlt(static_cast<HDC>(h), 0, 0, 4, 4, PATCOPY); }},
      {"GetClipBox",
       [](HANDLE h) {
         RECT r;
         return GetClipBox(static_cast<HDC>(h), &r) == ERROR;
       }},
  };
  return all;
}

// Entries whose handle argument is a region, brush or other object.
const std::vector<Entry>& object_entries() {
  static const std::vector<Entry> all = {
      {"GetObjectType", [](HANDLE h) { return GetObjectType(h) == 0; }},
      {"GetObjectA",
       [](HANDLE h) {
         LOGBRUSH lb;
         return GetObjectA(h, sizeof lb, &lb) == 0;
       }},
      {"DeleteObject", [](HANDLE h) { return !DeleteObject(h); }},
      {"GetRgnBox",
       [](HANDLE h) {
         RECT r;
         return GetRgnBox(static_cast<HRGN>(h), &r) == ERROR;
       }},
      {"OffsetRgn", [](HANDLE h) { return OffsetRgn(static_cast<HRGN>(h), 1, 1) == ERROR; }},
      {"PtInRegion", [](HANDLE h) { return !PtInRegion(static_cast<HRGN>(h), 0, 0); }},
  };
  return all;
}

std::string misbehaving(const std::vector<Entry>& entries, HANDLE h) {
  std::string out;
  for (const Entry& e : entries) {
    SetLastError(ERROR_SUCCESS);
    const bool failed = e.fails(h);
    const DWORD error = GetLastError();
    if (!failed || error != ERROR_INVALID_HANDLE)
      out +=
          std::string(e.name) + (failed ? " (error " + std::to_string(error) + ")" : " (succeeded)") + "\n";
  }
  return out;
}

const HANDLE kNeverIssued = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7FFF0004));

TEST(StaleHandle, DcEntriesRefuseDeletedAndUnknownDcs) {
  HDC gone = CreateCompatibleDC(nullptr);
  ASSERT_TRUE(DeleteDC(gone));
  EXPECT_EQ(misbehaving(dc_entries(), gone), "");
  EXPECT_EQ(misbehaving(dc_entries(), kNeverIssued), "");
  // A live object of another kind is no DC either.
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(misbehaving(dc_entries(), brush), "");
  DeleteObject(brush);
}

TEST(StaleHandle, ObjectEntriesRefuseDeletedAndUnknownObjects) {
  HRGN gone = CreateRectRgn(0, 0, 4, 4);
  ASSERT_TRUE(DeleteObject(gone));
  EXPECT_EQ(misbehaving(object_entries(), gone), "");
  EXPECT_EQ(misbehaving(object_entries(), kNeverIssued), "");
}

TEST(StaleHandle, LiveHandlesLeaveTheErrorAlone) {
  Surface s(8, 8);
  SetLastError(ERROR_SUCCESS);
  RECT r{0, 0, 2, 2};
  EXPECT_NE(FillRect(s.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1))), 0);
  EXPECT_TRUE(Rectangle(s.dc(), 0, 0, 4, 4));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

}  // namespace
}  // namespace gdi_test
