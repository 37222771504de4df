#include <gtest/gtest.h>

#include "tests/ui/main_window_template.h"
#include "ui/bytes/byte_writer.h"
#include "ui/units/label_properties.h"
#include "ui/units/window_properties.h"

namespace {

using ui::LabelProperties;
using ui::WindowProperties;

WindowProperties unusual_window() {
  WindowProperties p;
  p.title = "\xD5\xD2\xB8\xE8\xB4\xCA";
  p.border_style = 5;
  p.background = 0x00336699;
  p.background_picture = {1, 2, 3};
  p.picture_mode = 2;
  p.sound = {9};
  p.sound_mode = 1;
  p.control_box = false;
  p.maximise_box = true;
  p.minimise_box = false;
  p.position = 3;
  p.movable = false;
  p.icon = {4, 5};
  p.enter_moves_focus = true;
  p.escape_closes = true;
  p.f1_help = true;
  p.help_file = "help.hlp";
  p.help_context = 42;
  p.kept_flag_v2 = false;
  p.drag_by_client = true;
  p.shape = 7;
  p.always_on_top = true;
  p.kept_flag_v5 = true;
  p.class_name = "MyClass";
  return p;
}

TEST(WindowPropertyBlock, RoundTripsEveryField) {
  const WindowProperties p = unusual_window();
  const std::vector<std::uint8_t> block = p.serialize();
  ASSERT_GE(block.size(), 4u);
  EXPECT_EQ(block[0], 6) << "always the current version";
  EXPECT_EQ(ui::WindowProperties::parse(block), p);
  EXPECT_EQ(ui::WindowProperties::parse(WindowProperties{}.serialize()), WindowProperties{});
}

TEST(WindowPropertyBlock, OlderVersionsLackTheLaterFields) {
  lyr::ByteWriter w;
  w.u32(1);
  for (std::uint32_t v : {1u, 0u, 0x123456u, 1u, 0u, 1u, 0u, 1u, 0u, 1u, 1u, 0u, 9u}) w.u32(v);
  w.counted_text("");
  w.counted_text("");
  w.counted_text("");
  w.counted_text("old");
  w.counted_text("");
  const auto p = ui::WindowProperties::parse(w.bytes());
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->border_style, 1);
  EXPECT_EQ(p->background, 0x123456u);
  EXPECT_TRUE(p->maximise_box);
  EXPECT_TRUE(p->enter_moves_focus);
  EXPECT_TRUE(p->escape_closes);
  EXPECT_EQ(p->help_context, 9);
  EXPECT_EQ(p->title, "old");
  // Fields of versions 2 to 6 keep their defaults.
  EXPECT_TRUE(p->kept_flag_v2);
  EXPECT_FALSE(p->drag_by_client);
  EXPECT_EQ(p->shape, 0);
  EXPECT_FALSE(p->always_on_top);
  EXPECT_EQ(p->class_name, "");
}

// Each version adds its fields in the middle of the block: a block of any version reads those it
// has, keeps the defaults of later ones, and still finds the texts that follow.
TEST(WindowPropertyBlock, EachVersionReadsItsOwnFields) {
  for (std::uint32_t version = 1; version <= 6; ++version) {
    SCOPED_TRACE(version);
    lyr::ByteWriter w;
    w.u32(version);
    for (int i = 0; i < 13; ++i) w.u32(0);
    if (version >= 2) w.u32(0);  // the kept flag of version 2, off
    if (version >= 3) {
      w.u32(1);  // drag by the client area
      w.i32(2);  // shape
    }
    if (version >= 4) w.u32(1);  // always on top
    if (version >= 5) w.u32(1);  // the kept flag of version 5
    if (version >= 6) w.counted_text("Cls");
    for (const char* text : {"", "", "", "t", ""}) w.counted_text(text);
    const auto p = ui::WindowProperties::parse(w.bytes());
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->title, "t");
    EXPECT_EQ(p->kept_flag_v2, version < 2);
    EXPECT_EQ(p->drag_by_client, version >= 3);
    EXPECT_EQ(p->shape, version >= 3 ? 2 : 0);
    EXPECT_EQ(p->always_on_top, version >= 4);
    EXPECT_EQ(p->kept_flag_v5, version >= 5);
    EXPECT_EQ(p->class_name, version >= 6 ? "Cls" : "");
  }
}

TEST(WindowPropertyBlock, NewerVersionsAndCutBlocksAreRejected) {
  std::vector<std::uint8_t> block = unusual_window().serialize();
  for (std::size_t n = 0; n < block.size(); ++n)
    EXPECT_FALSE(ui::WindowProperties::parse(std::span(block).first(n)).has_value()) << n;
  block[0] = 7;
  EXPECT_FALSE(ui::WindowProperties::parse(block).has_value());
}

TEST(WindowPropertyBlock, AStoredShapeIsClamped) {
  WindowProperties p;
  p.shape = 300;
  EXPECT_EQ(ui::WindowProperties::parse(p.serialize())->shape, 29);
  p.shape = -4;
  EXPECT_EQ(ui::WindowProperties::parse(p.serialize())->shape, 0);
}

TEST(WindowPropertyBlock, ThisProgramsWindowReads) {
  ui_test::MainWindowTemplate main;
  const auto p = ui::WindowProperties::parse(main.window().units[0].control().properties);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->title, "Sonvo\xD5\xD2\xB8\xE8\xB4\xCA v1.0 By Veskar");
  EXPECT_EQ(p->border_style, 2);
  EXPECT_EQ(p->position, 1);
  EXPECT_EQ(p->picture_mode, 1);
  EXPECT_TRUE(p->control_box);
  EXPECT_TRUE(p->minimise_box);
  EXPECT_FALSE(p->maximise_box);
  EXPECT_EQ(p->background, ui::kDefaultColour);
  // The defaults are this program's values, apart from the title.
  WindowProperties defaults;
  defaults.title = p->title;
  EXPECT_EQ(*p, defaults);
}

LabelProperties unusual_label() {
  LabelProperties p;
  p.caption = "a\r\nb";
  p.text_effect = 3;
  p.border_style = 6;
  p.frame_width = 12;
  p.frame_colours = {1, 2, 3};
  p.font = std::vector<std::uint8_t>(60, 7);
  p.text_colour = 0x0000FF;
  p.background = 0x00FF00;
  p.background_picture = {8, 8};
  p.picture_mode = 0;
  p.gradient_mode = 8;
  p.gradient_colours = {4, 5, 6};
  p.alignment = 2;
  p.word_wrap = false;
  p.vertical_alignment = 2;
  p.data_source = "src";
  p.data_column = "col";
  return p;
}

TEST(LabelPropertyBlock, RoundTripsEveryField) {
  const LabelProperties p = unusual_label();
  const std::vector<std::uint8_t> block = p.serialize();
  EXPECT_EQ(block[0], 2);
  EXPECT_EQ(ui::LabelProperties::parse(block), p);
  EXPECT_EQ(ui::LabelProperties::parse(LabelProperties{}.serialize()), LabelProperties{});
}

TEST(LabelPropertyBlock, VersionOneHasNoDataBinding) {
  LabelProperties p = unusual_label();
  std::vector<std::uint8_t> block = p.serialize();
  block.resize(block.size() - (4 + 3) - (4 + 3));  // drop the data source and column
  block[0] = 1;
  const auto parsed = ui::LabelProperties::parse(block);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->caption, "a\r\nb");
  EXPECT_EQ(parsed->data_source, "");
  block[0] = 2;
  EXPECT_FALSE(ui::LabelProperties::parse(block).has_value()) << "version 2 needs them";
  block[0] = 3;
  EXPECT_FALSE(ui::LabelProperties::parse(block).has_value());
}

TEST(LabelPropertyBlock, CutBlocksAreRejectedAndChoicesClamped) {
  std::vector<std::uint8_t> block = unusual_label().serialize();
  for (std::size_t n = 0; n < block.size(); ++n)
    EXPECT_FALSE(ui::LabelProperties::parse(std::span(block).first(n)).has_value()) << n;

  LabelProperties wild;
  wild.text_effect = 9;
  wild.border_style = -2;
  wild.picture_mode = 3;
  wild.gradient_mode = 99;
  wild.alignment = 5;
  wild.vertical_alignment = 7;
  const auto p = ui::LabelProperties::parse(wild.serialize());
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->text_effect, 3);
  EXPECT_EQ(p->border_style, 0);
  EXPECT_EQ(p->picture_mode, 2);
  EXPECT_EQ(p->gradient_mode, 8);
  EXPECT_EQ(p->alignment, 2);
  EXPECT_EQ(p->vertical_alignment, 2);
}

TEST(LabelPropertyBlock, ThisProgramsLabelsRead) {
  ui_test::MainWindowTemplate main;
  const auto label1 = ui::LabelProperties::parse(main.window().units[10].control().properties);
  const auto label3 = ui::LabelProperties::parse(main.window().units[1].control().properties);
  ASSERT_TRUE(label1 && label3);
  EXPECT_EQ(label1->caption, "\xB8\xE8\xC7\xFA\xC3\xFB\xA3\xBA");
  EXPECT_FALSE(label1->word_wrap);
  EXPECT_TRUE(label3->word_wrap);
  LabelProperties defaults;
  defaults.caption = label3->caption;
  EXPECT_EQ(*label3, defaults);
}

}  // namespace
