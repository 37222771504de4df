#include "ui/access/font_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/api/gdi.h"
#include "platform/api/kernel.h"
#include "runtime/heap.h"
#include "runtime/values.h"
#include "tests/ui/property_test_support.h"
#include "ui/access/property_access.h"
#include "ui/state/messages.h"

namespace access_test {
namespace {

constexpr std::uint32_t kWindow = 0x52000040;
constexpr std::uint32_t kOwn = 0x06000040;
constexpr std::uint32_t kProbe = 0x16000041;

enum Field { kAngle, kBold, kItalic, kStrikeout, kUnderline, kSize, kFace };

std::uint64_t pointer(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p);
}

std::string face(const LOGFONTA& font) {
  return std::string(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
}

LOGFONTA font_from(const std::vector<std::uint8_t>& bytes) {
  LOGFONTA font{};
  EXPECT_EQ(bytes.size(), sizeof font);
  if (bytes.size() == sizeof font) std::memcpy(&font, bytes.data(), sizeof font);
  return font;
}

TEST(FontRecord, AngleIsTakenModuloAFullCircle) {
  LOGFONTA font{};
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {-1, 3599}, {3600, 0}, {7201, 1}, {-3601, 3599}, {450, 450}};
  for (auto [given, stored] : cases) {
    ASSERT_TRUE(ui::write_font_field(font, kAngle, static_cast<std::uint32_t>(given)));
    EXPECT_EQ(font.lfOrientation, stored) << given;
    EXPECT_EQ(font.lfEscapement, stored) << given;
    EXPECT_EQ(ui::read_font(font, kAngle), static_cast<std::uint64_t>(stored));
  }
}

TEST(FontRecord, FieldsMapOntoTheLogfont) {
  LOGFONTA font{};
  ui::write_font_field(font, kBold, 5);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(ui::read_font(font, kBold), 1u);
  font.lfWeight = 600;
  EXPECT_EQ(ui::read_font(font, kBold), 0u);
  ui::write_font_field(font, kBold, 0);
  EXPECT_EQ(font.lfWeight, 0);
  ui::write_font_field(font, kItalic, 1);
  ui::write_font_field(font, kStrikeout, 1);
  ui::write_font_field(font, kUnderline, 0);
  EXPECT_EQ(font.lfItalic, 1);
  EXPECT_EQ(font.lfStrikeOut, 1);
  EXPECT_EQ(font.lfUnderline, 0);

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ui::write_font_field(font, kSize, 9);
  EXPECT_EQ(font.lfHeight, -MulDiv(9, dpi, 72));
  EXPECT_EQ(ui::read_font(font, kSize), 9u);
  ui::write_font_field(font, kSize, static_cast<std::uint32_t>(-4));
  EXPECT_EQ(font.lfHeight, 0) << "a negative size counts as 0";

  EXPECT_FALSE(ui::write_font_field(font, 7, 1));
  EXPECT_EQ(ui::read_font(font, 7), 0u);
}

TEST(FontRecord, FaceNameWithSelectorSixFallsBackWhenEmptyOrTooLong) {
  LOGFONTA font{};
  const std::string longest(31, 'a');
  ui::write_font_field(font, kFace, pointer(longest.c_str()));
  EXPECT_EQ(face(font), longest);
  const std::string too_long(32, 'b');
  ui::write_font_field(font, kFace, pointer(too_long.c_str()));
  EXPECT_EQ(face(font), ui::messages::kDefaultFaceName);
  ui::write_font_field(font, kFace, pointer("Arial"));
  ui::write_font_field(font, kFace, 0);
  EXPECT_EQ(face(font), ui::messages::kDefaultFaceName);
  ui::write_font_field(font, kFace, pointer(""));
  EXPECT_EQ(face(font), ui::messages::kDefaultFaceName);
}

TEST(FontRecord, WholeRecordKeepsAnEmptyFaceButNotAMissingOrLongOne) {
  ui::FontRecord record{450, 1, 0, 1, 1, 12, ""};
  std::optional<LOGFONTA> font = ui::logfont_from_record(&record);
  ASSERT_TRUE(font.has_value());
  EXPECT_EQ(face(*font), "");
  EXPECT_EQ(font->lfOrientation, 450);
  EXPECT_EQ(font->lfWeight, 700);
  EXPECT_EQ(font->lfItalic, 0);
  EXPECT_EQ(font->lfStrikeOut, 1);
  EXPECT_EQ(font->lfUnderline, 1);

  const std::string thirty(30, 'c');
  record.face = thirty.c_str();
  EXPECT_EQ(face(*ui::logfont_from_record(&record)), thirty);
  const std::string thirty_one(31, 'c');
  record.face = thirty_one.c_str();
  EXPECT_EQ(face(*ui::logfont_from_record(&record)), ui::messages::kDefaultFaceName);
  record.face = nullptr;
  EXPECT_EQ(face(*ui::logfont_from_record(&record)), ui::messages::kDefaultFaceName);
  EXPECT_FALSE(ui::logfont_from_record(nullptr).has_value());
}

TEST(FontRecord, ReadRecordIsOneBlockThatRoundTrips) {
  LOGFONTA font{};
  font.lfOrientation = 900;
  font.lfWeight = 700;
  font.lfUnderline = 1;
  ui::write_font_field(font, kSize, 14);
  std::memset(font.lfFaceName, 'z', sizeof font.lfFaceName);  // no terminator: at most 32 bytes are read
  auto* record = reinterpret_cast<ui::FontRecord*>(static_cast<std::uintptr_t>(ui::read_font(font, -1)));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->angle, 900);
  EXPECT_EQ(record->bold, 1);
  EXPECT_EQ(record->italic, 0);
  EXPECT_EQ(record->underline, 1);
  EXPECT_EQ(record->size, 14);
  EXPECT_EQ(std::string(record->face), std::string(32, 'z'));
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(record->face),
            reinterpret_cast<const std::uint8_t*>(record) + sizeof *record);

  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  auto* empty = reinterpret_cast<ui::FontRecord*>(static_cast<std::uintptr_t>(ui::read_font(font, -1)));
  ASSERT_NE(empty->face, nullptr);
  EXPECT_EQ(face(*ui::logfont_from_record(empty)), "") << "an empty face survives a read and a write";
  runtime::release(record);
  runtime::release(empty);
}

class FontProperty : public AccessTest {
 protected:
  void SetUp() override {
    AccessTest::SetUp();
    auto& window = templates_.add_window(kWindow, kOwn, window_block());
    templates_.add_unit(window, kProbe, kProbeType, {10, 10, 80, 20}, kVisible, probe_block());
    start(kWindow);
  }
};

TEST_F(FontProperty, OneFieldChangesTheCurrentFontAndWholeRecordsReplaceIt) {
  // No font yet: the field is changed in the default GUI font.
  LOGFONTA gui{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  ui::write_unit_property(kWindow, kProbe, probe::kFont, kAngle, static_cast<std::uint32_t>(-1));
  LOGFONTA given = font_from(probe_log().last_bytes);
  EXPECT_EQ(given.lfOrientation, 3599);
  EXPECT_EQ(given.lfHeight, gui.lfHeight);
  EXPECT_EQ(face(given), face(gui));
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, probe::kFont, kAngle), 3599u);

  const std::string face32(32, 'f');
  ui::write_unit_property(kWindow, kProbe, probe::kFont, kFace, pointer(face32.c_str()));
  given = font_from(probe_log().last_bytes);
  EXPECT_EQ(face(given), ui::messages::kDefaultFaceName);
  EXPECT_EQ(given.lfOrientation, 3599) << "the other fields stay";

  ui::FontRecord record{0, 0, 1, 0, 0, 20, ""};
  ui::write_unit_property(kWindow, kProbe, probe::kFont, -1, pointer(&record));
  given = font_from(probe_log().last_bytes);
  EXPECT_EQ(face(given), "");
  EXPECT_EQ(given.lfItalic, 1);
  auto* read = reinterpret_cast<ui::FontRecord*>(
      static_cast<std::uintptr_t>(ui::read_unit_property(kWindow, kProbe, probe::kFont, -1)));
  EXPECT_EQ(read->size, 20);
  EXPECT_EQ(read->italic, 1);
  EXPECT_EQ(std::string(read->face), "");
  runtime::release(read);

  // An absent record passes the empty pair.
  ui::write_unit_property(kWindow, kProbe, probe::kFont, -1, 0);
  EXPECT_EQ(probe_log().last_pair.first, 0);
  EXPECT_EQ(probe_log().last_pair.second, 0);
}

}  // namespace
}  // namespace access_test
