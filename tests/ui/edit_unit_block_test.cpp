// The edit box's property data block: round trips, versions, damaged blocks and clamping.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/bytes/byte_writer.h"
#include "ui/units/edit_properties.h"

namespace {

using ui::EditProperties;

EditProperties unusual() {
  EditProperties p;
  p.content = "\xC4\xDA\xC8\xDD\r\nline";
  p.border = 3;
  p.text_colour = 0x123456;
  p.background = 0xFF000000;
  p.font.assign(60, 7);
  p.hide_selection = false;
  p.max_length = 77;
  p.multi_line = true;
  p.scroll_bars = 3;
  p.alignment = 1;
  p.input_mode = 11;
  p.password_char = '#';
  p.case_conversion = 2;
  p.adjuster = 2;
  p.adjuster_min = -5;
  p.adjuster_max = 9;
  p.selection_start = -1;
  p.selection_length = 4;
  p.data_source = "src";
  p.data_column = "col";
  return p;
}

TEST(EditBlock, RoundTripsEveryField) {
  const EditProperties p = unusual();
  const std::vector<std::uint8_t> block = p.serialize();
  const std::optional<EditProperties> back = EditProperties::parse(block);
  ASSERT_TRUE(back.has_value());
  // Every field is read back where it was written: writing the parse again gives the same bytes.
  EXPECT_EQ(back->serialize(), block);
  EXPECT_EQ(back->content, p.content);
  EXPECT_EQ(back->data_column, p.data_column);
}

TEST(EditBlock, FieldOrderIsTheStoredOne) {
  // Version 1 (no data source or column), written field by field in stored order.
  lyr::ByteWriter w;
  w.u32(1);
  for (std::uint32_t v : {1u, 0x0000FFu, 0xFFFFFFu, 0u, 10u, 1u, 2u, 2u, 3u}) w.u32(v);
  w.u16('$');
  for (std::uint32_t v : {1u, 1u, 3u, 30u, 2u, 1u}) w.u32(v);
  w.counted_text("");
  w.counted_text("abc");
  const std::optional<EditProperties> p = EditProperties::parse(w.bytes());
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->border, 1);
  EXPECT_EQ(p->text_colour, 0x0000FFu);
  EXPECT_EQ(p->background, 0xFFFFFFu);
  EXPECT_FALSE(p->hide_selection);
  EXPECT_EQ(p->max_length, 10);
  EXPECT_TRUE(p->multi_line);
  EXPECT_EQ(p->scroll_bars, 2);
  EXPECT_EQ(p->alignment, 2);
  EXPECT_EQ(p->input_mode, 3);
  EXPECT_EQ(p->password_char, '$');
  EXPECT_EQ(p->case_conversion, 1);
  EXPECT_EQ(p->adjuster, 1);
  EXPECT_EQ(p->adjuster_min, 3);
  EXPECT_EQ(p->adjuster_max, 30);
  EXPECT_EQ(p->selection_start, 2);
  EXPECT_EQ(p->selection_length, 1);
  EXPECT_TRUE(p->font.empty());
  EXPECT_EQ(p->content, "abc");
  EXPECT_TRUE(p->data_source.empty());
  // Serializing writes the current version with the two data fields.
  const std::vector<std::uint8_t> again = p->serialize();
  EXPECT_EQ(again[0], EditProperties::kVersion);
  ASSERT_EQ(again.size(), w.size() + 8);
  EXPECT_TRUE(std::equal(w.bytes().begin() + 4, w.bytes().end(), again.begin() + 4))
      << "same fields, same order";
}

TEST(EditBlock, NewerVersionsAndTruncatedBlocksAreRefused) {
  std::vector<std::uint8_t> block = unusual().serialize();
  block[0] = EditProperties::kVersion + 1;
  EXPECT_FALSE(EditProperties::parse(block).has_value());
  block[0] = EditProperties::kVersion;
  for (std::size_t n = 0; n < block.size(); ++n) {
    EXPECT_FALSE(EditProperties::parse(std::span(block).first(n)).has_value()) << n;
  }
  // A text length running past the end.
  std::vector<std::uint8_t> bad = EditProperties{}.serialize();
  bad[bad.size() - 12] = 0xFF;
  EXPECT_FALSE(EditProperties::parse(bad).has_value());
}

TEST(EditBlock, OutOfRangeChoicesAreClamped) {
  EditProperties p;
  p.scroll_bars = 9;
  p.alignment = -1;
  p.case_conversion = 5;
  p.adjuster = 3;
  p.input_mode = 12;
  p.max_length = -4;
  const std::optional<EditProperties> back = EditProperties::parse(p.serialize());
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->scroll_bars, 3);
  EXPECT_EQ(back->alignment, 0);
  EXPECT_EQ(back->case_conversion, 2);
  EXPECT_EQ(back->adjuster, 2);
  EXPECT_EQ(back->input_mode, 11);
  EXPECT_EQ(back->max_length, 0);
}

}  // namespace
