#include <gtest/gtest.h>

#include <random>

#include "tests/ui/picture/picture_encoders.h"
#include "tests/ui/picture/picture_probe.h"
#include "ui/picture/codecs/codec.h"
#include "ui/picture/codecs/gif_composer.h"
#include "ui/picture/codecs/gif_reader.h"
#include "ui/picture/picture_pixels.h"

namespace lyr::picture {
namespace {

using test::GifFrameLayout;
using test::GifLayout;

const std::vector<std::uint32_t> kFour = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

std::vector<std::uint8_t> pattern(int w, int h, int colours, int seed = 0) {
  std::vector<std::uint8_t> v(std::size_t(w) * h);
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = std::uint8_t((i * 5 + i / 7 + seed) % colours);
  return v;
}

GifLayout screen(int w, int h, std::vector<std::uint32_t> palette, std::uint8_t background = 0) {
  GifLayout layout;
  layout.width = w, layout.height = h, layout.background = background;
  layout.global_palette = std::move(palette);
  return layout;
}

GifFrameLayout frame(int left, int top, int w, int h, std::vector<std::uint8_t> indices) {
  GifFrameLayout f;
  f.left = left, f.top = top, f.width = w, f.height = h;
  f.indices = std::move(indices);
  return f;
}

TEST(GifStill, FirstFrameBecomesAPackedBottomUpBitmap) {
  GifLayout layout = screen(5, 3, kFour);
  layout.frames = {frame(0, 0, 5, 3, pattern(5, 3, 4)), frame(0, 0, 5, 3, pattern(5, 3, 4, 1))};
  auto r = decode_picture(test::write_gif(layout));
  ASSERT_TRUE(r.ok()) << r.error();
  const auto& p = r.value();
  EXPECT_EQ(p.kind, PictureFormat::gif);
  EXPECT_EQ(p.width, 5);
  EXPECT_EQ(p.height, 3);
  ASSERT_EQ(p.pixels.size(), kPackedDibPixelsOffset + 8 * 3);
  EXPECT_EQ(p.pixels[0], 40);
  EXPECT_EQ(test::dib_height_field(p), 3);  // bottom-up
  EXPECT_EQ(p.pixels[14], 8);
  const auto indices = pattern(5, 3, 4);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      ASSERT_EQ(test::index_at(p, x, y), indices[std::size_t(y * 5 + x)]);
      ASSERT_EQ(test::argb_at(p, x, y), 0xFF000000u | kFour[indices[std::size_t(y * 5 + x)]]);
    }
}

TEST(GifStill, AreaOutsideTheFrameTakesTheBackgroundIndex) {
  GifLayout layout = screen(4, 4, kFour, 2);
  layout.frames = {frame(1, 1, 2, 2, {1, 1, 1, 1})};
  auto r = decode_picture(test::write_gif(layout));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(test::index_at(r.value(), 0, 0), 2);
  EXPECT_EQ(test::index_at(r.value(), 1, 1), 1);
  EXPECT_EQ(test::index_at(r.value(), 3, 3), 2);
}

TEST(GifStill, TransparentPixelsShowTheBackgroundColourWhenRendered) {
  GifLayout layout = screen(3, 1, kFour);
  auto f = frame(0, 0, 2, 1, {3, 1});
  f.transparent = 3;
  layout.frames = {f};
  auto r = decode_picture(test::write_gif(layout));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().transparent_index, std::optional<std::uint8_t>(3));
  auto bgra = to_bgra_top_down(r.value(), RGB(10, 20, 30));
  ASSERT_EQ(bgra.size(), 12u);
  EXPECT_EQ(std::vector<std::uint8_t>(bgra.begin(), bgra.begin() + 4),
            (std::vector<std::uint8_t>{30, 20, 10, 255}));
  EXPECT_EQ(std::vector<std::uint8_t>(bgra.begin() + 4, bgra.begin() + 8),
            (std::vector<std::uint8_t>{0, 0, 255, 255}));
  // Outside the frame: the transparent index too.
  EXPECT_EQ(std::vector<std::uint8_t>(bgra.begin() + 8, bgra.end()),
            (std::vector<std::uint8_t>{30, 20, 10, 255}));
}

TEST(GifDecode, InterlacedRowsLandInTheirPasses) {
  const int w = 3, h = 11;
  std::vector<std::uint8_t> rows(std::size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rows[std::size_t(y * w + x)] = std::uint8_t(y);
  std::vector<std::uint32_t> palette(16);
  GifLayout layout = screen(w, h, palette);
  auto f = frame(0, 0, w, h, rows);
  f.interlaced = true;
  layout.frames = {f};
  auto gif = decode_gif(test::write_gif(layout), default_limits(), 10);
  ASSERT_TRUE(gif.ok()) << gif.error();
  EXPECT_TRUE(gif.value().frames[0].interlaced);
  EXPECT_EQ(gif.value().frames[0].indices, rows);
}

TEST(GifDecode, LargeFramesFillTheTableWithAndWithoutClearCodes) {
  std::mt19937 rng(7);
  std::vector<std::uint8_t> indices(200 * 150);
  for (auto& v : indices) v = std::uint8_t(rng() % 256 < 200 ? rng() % 8 : rng() % 256);  // some repetition
  std::vector<std::uint32_t> palette(256);
  for (bool clear : {true, false}) {
    GifLayout layout = screen(200, 150, palette);
    layout.clear_when_full = clear;
    layout.frames = {frame(0, 0, 200, 150, indices)};
    auto gif = decode_gif(test::write_gif(layout), default_limits(), 1);
    ASSERT_TRUE(gif.ok()) << gif.error();
    EXPECT_EQ(gif.value().frames[0].indices, indices) << "clear when full: " << clear;
  }
}

TEST(GifDecode, AnimationFramesCarryTheirDelaysAndDisposal) {
  GifLayout layout = screen(4, 4, kFour);
  auto a = frame(0, 0, 4, 4, pattern(4, 4, 4));
  a.delay_cs = 0;
  auto b = frame(1, 1, 2, 2, {1, 2, 3, 0});
  b.delay_cs = 7;
  b.disposal = 2;
  b.transparent = 0;
  auto c = frame(0, 0, 1, 1, {3});
  c.delay_cs = 100;
  c.disposal = 3;
  layout.frames = {a, b, c};
  const auto file = test::write_gif(layout);
  auto gif = decode_gif(file, default_limits(), 100);
  ASSERT_TRUE(gif.ok()) << gif.error();
  const auto& frames = gif.value().frames;
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(gif_frame_delay_ms(frames[0]), 50);  // 0 plays as 50 ms
  EXPECT_EQ(gif_frame_delay_ms(frames[1]), 70);
  EXPECT_EQ(gif_frame_delay_ms(frames[2]), 1000);
  EXPECT_EQ(frames[1].disposal, GifDisposal::background);
  EXPECT_EQ(frames[1].transparent_index, std::optional<std::uint8_t>(0));
  EXPECT_EQ(frames[2].disposal, GifDisposal::previous);
  EXPECT_FALSE(frames[2].transparent_index.has_value());  // control values apply to one image
  EXPECT_EQ(frames[1].left, 1);
  EXPECT_TRUE(gif_codec().animated(file, default_limits()));
  layout.frames.resize(1);
  EXPECT_FALSE(gif_codec().animated(test::write_gif(layout), default_limits()));
}

TEST(GifDecode, LocalTablesApplyToTheirOwnFrameOnly) {
  GifLayout layout = screen(1, 1, kFour);
  auto a = frame(0, 0, 1, 1, {1});
  a.local_palette = {0x111111, 0x222222};
  layout.frames = {a, frame(0, 0, 1, 1, {1})};
  auto gif = decode_gif(test::write_gif(layout), default_limits(), 10);
  ASSERT_TRUE(gif.ok()) << gif.error();
  EXPECT_EQ(gif.value().frames[0].palette[1], (std::array<std::uint8_t, 3>{0x22, 0x22, 0x22}));
  EXPECT_EQ(gif.value().frames[1].palette.size(), 4u);
  EXPECT_EQ(gif.value().frames[1].palette[1], (std::array<std::uint8_t, 3>{0xFF, 0, 0}));
}

std::uint32_t canvas_at(const GifComposer& c, int x, int y) {
  const auto* p = &c.canvas()[(std::size_t(y) * c.width() + x) * 4];
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

TEST(GifComposer, DisposalClearsOrRestoresAndTheLoopStartsClean) {
  constexpr std::uint32_t kBackground = 0xFF808080;
  GifLayout layout = screen(3, 1, kFour);
  auto a = frame(0, 0, 3, 1, {1, 1, 1});  // red everywhere, kept
  auto b = frame(1, 0, 1, 1, {2});        // green in the middle, then cleared to the background
  b.disposal = 2;
  auto c = frame(2, 0, 1, 1, {3});  // blue on the right, then put back as it was
  c.disposal = 3;
  auto d = frame(0, 0, 1, 1, {0});
  d.transparent = 0;  // fully transparent: nothing changes
  layout.frames = {a, b, c, d};
  auto gif = decode_gif(test::write_gif(layout), default_limits(), 10);
  ASSERT_TRUE(gif.ok()) << gif.error();
  GifComposer composer(gif.value(), kBackground);
  EXPECT_EQ(canvas_at(composer, 0, 0), kBackground);
  composer.draw(0);
  EXPECT_EQ(canvas_at(composer, 1, 0), 0xFFFF0000u);
  composer.draw(1);
  EXPECT_EQ(canvas_at(composer, 1, 0), 0xFF00FF00u);
  composer.draw(2);
  EXPECT_EQ(canvas_at(composer, 1, 0), kBackground);
  EXPECT_EQ(canvas_at(composer, 2, 0), 0xFF0000FFu);
  composer.draw(3);
  EXPECT_EQ(canvas_at(composer, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(canvas_at(composer, 1, 0), kBackground);
  EXPECT_EQ(canvas_at(composer, 2, 0), 0xFFFF0000u);  // restored
  composer.draw(0);
  EXPECT_EQ(canvas_at(composer, 1, 0), 0xFFFF0000u);
}

TEST(GifComposer, RestoreOnTheFirstFrameAndFramesOutsideTheScreen) {
  GifLayout layout = screen(2, 2, kFour);
  auto a = frame(1, 1, 4, 4, std::vector<std::uint8_t>(16, 2));  // reaches past the screen
  a.disposal = 3;
  auto b = frame(60000, 60000, 2, 2, {1, 1, 1, 1});  // entirely outside
  layout.frames = {a, b};
  auto gif = decode_gif(test::write_gif(layout), default_limits(), 10);
  ASSERT_TRUE(gif.ok()) << gif.error();
  GifComposer composer(gif.value(), 0xFF000001);
  composer.draw(0);
  EXPECT_EQ(canvas_at(composer, 1, 1), 0xFF00FF00u);
  EXPECT_EQ(canvas_at(composer, 0, 0), 0xFF000001u);
  composer.draw(1);
  EXPECT_EQ(canvas_at(composer, 1, 1), 0xFF000001u);  // the saved background came back
}

}  // namespace
}  // namespace lyr::picture
