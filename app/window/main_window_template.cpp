#include "app/window/main_window_template.h"

#include <string_view>

#include "app/main_window.h"
#include "ui/bytes/byte_writer.h"
#include "ui/templates/template_builder.h"

namespace app::window {
namespace {

using namespace app::main_window;
using lyr::ByteWriter;
using ui::templates::EventBinding;
using ui::templates::kTabStop;
using ui::templates::kVisible;
using ui::templates::Rect;

constexpr std::uint32_t kDefaultColour = 0xFF000000;

void words(ByteWriter& w, std::initializer_list<std::uint32_t> values) {
  for (std::uint32_t v : values) w.u32(v);
}

std::vector<std::uint8_t> window_properties() {
  ByteWriter w;
  w.u32(6);  // version
  // border, picture mode, background, maximise, minimise, control box, position, movable,
  // sound mode, Enter moves, Esc closes, F1 help, help context, option, drag, shape, topmost,
  // option
  words(w, {2, 1, kDefaultColour, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0});
  w.counted_text("");  // class name
  w.counted_text("");  // background picture
  w.counted_text("");  // icon
  w.counted_text("");  // background sound
  w.counted_text("Sonvo\xD5\xD2\xB8\xE8\xB4\xCA v1.0 By Veskar");
  w.counted_text("");  // help file
  return w.take();
}

std::vector<std::uint8_t> label_properties(std::string_view caption, std::uint32_t word_wrap) {
  ByteWriter w;
  w.u32(2);
  // effect, frame width, border, frame colours ×3, text colour, background, picture mode,
  // gradient mode, gradient colours ×3, horizontal alignment, vertical alignment, word wrap
  words(w, {0, 8, 0, 0x808080, 0xFFFFFF, 0x808080, 0, kDefaultColour, 1, 0, 0x808080, 0xFFFFFF, 0x808080, 0,
            1, word_wrap});
  w.counted_text("");  // font
  w.counted_text("");  // background picture
  w.counted_text(caption);
  w.counted_text("");  // data source
  w.counted_text("");  // data column
  return w.take();
}

std::vector<std::uint8_t> edit_properties(std::uint32_t multi_line, std::uint32_t scroll_bars) {
  ByteWriter w;
  w.u32(2);
  // border, text colour, background, hide selection, maximum length, multi-line, scroll bars,
  // alignment, input mode
  words(w, {5, 0, 0xFFFFFF, 1, 0, multi_line, scroll_bars, 0, 0});
  w.u16('*');  // password character
  // case, adjuster, minimum, maximum, selection start, selection length
  words(w, {0, 0, 0, 100, 0, 0});
  w.counted_text("");  // font
  w.counted_text("");  // content
  w.counted_text("");  // data source
  w.counted_text("");  // data column
  return w.take();
}

std::vector<std::uint8_t> button_properties() {
  ByteWriter font;
  font.i32(-16);  // lfHeight
  words(font, {0, 0, 0, 400});
  for (std::uint8_t b : {0, 0, 0, 134, 0, 0, 0, 0}) font.u8(b);  // italic ... pitch and family
  for (int i = 0; i < 32; ++i) font.u8(0);                       // face name
  ByteWriter w;
  w.u32(1);
  words(w, {0, 1, 1});  // type, horizontal and vertical alignment
  w.counted_text("");   // picture
  w.counted(font.bytes());
  w.counted_text("\xCB\xD1\xCB\xF7");
  return w.take();
}

std::vector<std::uint8_t> group_box_properties() {
  ByteWriter w;
  w.u32(1);
  words(w, {0, 0, kDefaultColour});  // alignment, text colour, background
  w.counted_text("");                // font
  w.counted_text("\xD7\xA8\xBC\xAD\xB7\xE2\xC3\xE6");
  return w.take();
}

std::vector<std::uint8_t> picture_box_properties() {
  ByteWriter w;
  w.u32(2);
  words(w, {0, kDefaultColour, 0, 1});  // border, background, display mode, play animation
  w.counted_text("");                   // picture
  w.counted_text("");                   // data source
  w.counted_text("");                   // data column
  return w.take();
}

void column(ByteWriter& w, std::int32_t width, std::string_view title) {
  w.u8(0);
  w.i32(-1);
  w.i32(0);
  w.i32(width);
  w.c_text(title);
}

std::vector<std::uint8_t> list_view_properties() {
  ByteWriter columns;
  column(columns, 70,
         "\xB8\xE8\xC7\xFA"
         "ID");
  column(columns, 280, "\xB8\xE8\xB4\xCA\xB5\xD8\xD6\xB7");
  ByteWriter w;
  w.u32(1);
  words(w, {5, 0, 0xFFFFFF, 0xFFFFFF, 3, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1, 0xFFFFFFFF, 0});
  w.counted_text("");  // font
  w.counted_text("");  // header images
  w.counted_text("");  // item images
  w.counted(columns.bytes());
  w.counted_text("");  // state images
  w.counted_text("");  // items
  return w.take();
}

}  // namespace

MainWindowTemplate::MainWindowTemplate() {
  using namespace ui::templates;
  properties_ = {
      window_properties(),
      label_properties(
          "\xCB\xAB\xBB\xF7\xD4\xA4\xC0\xC0\xB8\xE8\xB4\xCA\xA3\xAC\r\n\xD3\xD2\xBB\xF7\xCF\xC2\xD4\xD8"
          "\xB8\xE8\xB4\xCA\xA1\xA3\r\n\xD7\xF7\xD5\xDF:Veskar",
          1),
      picture_box_properties(),
      edit_properties(1, 2),
      button_properties(),
      edit_properties(0, 0),
      edit_properties(0, 0),
      label_properties("\xD2\xD5\xCA\xF5\xBC\xD2\xA3\xBA\r\n\xC4\xA3  \xBA\xFD\xA3\xBA", 1),
      label_properties("\xB8\xE8\xC7\xFA\xC3\xFB\xA3\xBA", 0),
      list_view_properties(),
      group_box_properties(),
  };
  const auto& p = properties_;
  window_.id = kWindow;
  window_.index_reserved = 0x01408990;
  window_.reserved[0] = 0x0000000B;
  window_.reserved[1] = 0x19010002;
  window_.units = {
      window_unit(kWindowUnit, kWindowType, Rect{50, 50, 418, 512}, kVisible, {{0, kWindowCreatedHandler}},
                  p[0]),
      control(kHintLabel, kLabelType,
              "\xB1\xEA\xC7\xA9"
              "3",
              Rect{224, 232, 96, 40}, kVisible, {{-1, kOpenSiteHandler}}, p[1]),
      menu_item(kRowMenu, "\xB2\xCB\xB5\xA5", 0, kMenuHidden, -1),
      menu_item(kDownloadItem, "\xCF\xC2\xD4\xD8\xB8\xE8\xB4\xCA", 1, 0, kDownloadHandler),
      control(kCoverPicture, kPictureBoxType,
              "\xCD\xBC\xC6\xAC\xBF\xF2"
              "1",
              Rect{227, 293, 180, 180}, kVisible, {}, p[2]),
      control(kLyricPreview, kEditBoxType,
              "\xB1\xE0\xBC\xAD\xBF\xF2"
              "1",
              Rect{8, 224, 208, 252}, kVisible | kTabStop, {}, p[3]),
      control(kSearchButton, kButtonType, "\xD7\xDF\xC4\xE3", Rect{328, 228, 80, 48}, kVisible | kTabStop,
              {{0, kSearchHandler}}, p[4]),
      control(kArtistEdit, kEditBoxType, "Artist", Rect{288, 196, 120, 24}, kVisible | kTabStop, {}, p[5]),
      control(kTitleEdit, kEditBoxType, "Name", Rect{56, 196, 160, 24}, kVisible | kTabStop, {}, p[6]),
      control(kArtistLabel, kLabelType,
              "\xB1\xEA\xC7\xA9"
              "2",
              Rect{240, 196, 48, 26}, kVisible, {}, p[7]),
      control(kTitleLabel, kLabelType,
              "\xB1\xEA\xC7\xA9"
              "1",
              Rect{8, 198, 40, 16}, kVisible, {}, p[8]),
      control(kResultList, kListViewType,
              "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2"
              "1",
              Rect{8, 8, 400, 184}, kVisible | kTabStop, {{-3, kPreviewHandler}, {5, kPopupHandler}}, p[9]),
      control(kCoverFrame, kGroupBoxType,
              "\xB7\xD6\xD7\xE9\xBF\xF2"
              "1",
              Rect{224, 278, 186, 198}, kVisible, {}, p[10]),
  };
}

std::vector<std::uint8_t> MainWindowTemplate::block() const {
  return ui::templates::build_templates(std::span(&window_, 1));
}

}  // namespace app::window
