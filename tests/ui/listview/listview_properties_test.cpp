#include "ui/listview/listview_properties.h"

#include <gtest/gtest.h>

#include "tests/ui/listview/listview_fixture.h"
#include "ui/bytes/byte_writer.h"

namespace {

using ui::listview::ColumnRecord;
using ui::listview::ItemRecord;
using ui::listview::ListViewProperties;

// The block of this program's list view, field by field as the template stores it.
std::vector<std::uint8_t> song_list_block() {
  lyr::ByteWriter columns;
  columns.u8(0);
  columns.i32(-1);
  columns.i32(0);
  columns.i32(70);
  columns.c_text(
      "\xB8\xE8\xC7\xFA"
      "ID");
  columns.u8(0);
  columns.i32(-1);
  columns.i32(0);
  columns.i32(280);
  columns.c_text("\xB8\xE8\xB4\xCA\xB5\xD8\xD6\xB7");
  lyr::ByteWriter w;
  w.u32(1);
  for (std::uint32_t v : {5u, 0u, 0xFFFFFFu, 0xFFFFFFu, 3u, 0u, 1u, 1u, 0u, 0u, 1u,          0u,
                          0u, 0u, 1u,        1u,        1u, 0u, 0u, 0u, 0u, 1u, 0xFFFFFFFFu, 0u})
    w.u32(v);
  w.counted_text("");
  w.counted_text("");
  w.counted_text("");
  w.counted(columns.bytes());
  w.counted_text("");
  w.counted_text("");
  return w.take();
}

TEST(ListViewPropertiesTest, EmptyBlockGivesTheDefaults) {
  std::optional<ListViewProperties> p = ListViewProperties::parse({});
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->border, 1);
  EXPECT_EQ(p->text_back_colour, 0xFFFFFFu);
  EXPECT_EQ(p->view, ui::listview::kLargeIcons);
  EXPECT_TRUE(p->auto_arrange);
  EXPECT_TRUE(p->header_clickable);
  EXPECT_TRUE(p->single_selection);
  EXPECT_EQ(p->current_selection, -1);
  EXPECT_TRUE(p->columns.empty());
}

TEST(ListViewPropertiesTest, SongListBlockReadsAndWritesBackByteForByte) {
  const std::vector<std::uint8_t> block = song_list_block();
  std::optional<ListViewProperties> p = ListViewProperties::parse(block);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(*p, listview_test::song_list_properties());
  EXPECT_EQ(p->columns.size(), 42u);
  const std::vector<ColumnRecord> columns = ui::listview::decode_columns(p->columns);
  ASSERT_EQ(columns.size(), 2u);
  EXPECT_EQ(columns[0].width, 70);
  EXPECT_EQ(columns[1].title, "\xB8\xE8\xB4\xCA\xB5\xD8\xD6\xB7");
  EXPECT_EQ(p->serialize(), block);
}

TEST(ListViewPropertiesTest, NewerVersionAndCutBlocksAreRejected) {
  std::vector<std::uint8_t> block = song_list_block();
  std::vector<std::uint8_t> version2 = block;
  version2[0] = 2;
  EXPECT_FALSE(ListViewProperties::parse(version2).has_value());
  std::vector<std::uint8_t> version0 = block;
  version0[0] = 0;
  EXPECT_TRUE(ListViewProperties::parse(version0).has_value());
  // Every cut inside the block lands in a field.
  for (std::size_t n = 1; n < block.size(); ++n) {
    EXPECT_FALSE(ListViewProperties::parse(std::span(block).first(n)).has_value()) << n;
  }
  // A blob length beyond the end.
  std::vector<std::uint8_t> long_blob = block;
  long_blob[4 + 24 * 4] = 0xFF;
  EXPECT_FALSE(ListViewProperties::parse(long_blob).has_value());
}

TEST(ListViewPropertiesTest, ChoicesOutOfRangeAreClampedOnReading) {
  ListViewProperties p;
  p.border = 9;
  p.view = 7;
  p.alignment = -3;
  p.sort_order = 5;
  p.current_selection = -20;
  std::optional<ListViewProperties> read = ListViewProperties::parse(p.serialize());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->border, 5);
  EXPECT_EQ(read->view, 3);
  EXPECT_EQ(read->alignment, 0);
  EXPECT_EQ(read->sort_order, 2);
  EXPECT_EQ(read->current_selection, -1);
}

TEST(ListViewPropertiesTest, ItemRecordsRoundTripAndACutRecordEndsTheList) {
  const ItemRecord items[] = {
      {false, 2, -1, 1, 77, "first", "tip one"},
      {true, -1, -1, 0, 0, "first, column 1", ""},
      {false, -1, 0, 0, -5, "second", ""},
  };
  std::vector<std::uint8_t> blob = ui::listview::encode_items(items);
  EXPECT_EQ(ui::listview::decode_items(blob), std::vector<ItemRecord>(std::begin(items), std::end(items)));
  blob.pop_back();  // the last tip loses its terminator
  const std::vector<ItemRecord> cut = ui::listview::decode_items(blob);
  EXPECT_EQ(cut, std::vector<ItemRecord>(std::begin(items), std::begin(items) + 2));
  // A few bytes that cannot hold one record.
  const std::uint8_t stub[] = {0, 1, 2};
  EXPECT_TRUE(ui::listview::decode_items(stub).empty());
  EXPECT_TRUE(ui::listview::decode_columns(stub).empty());
}

}  // namespace
