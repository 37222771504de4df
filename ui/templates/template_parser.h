// Parsing a window-template block in one pass.
// Contract: parse_templates(block, code_base) reads the whole block (window index, window
// records, unit tables, unit and menu records, cursor selectors, event bindings, property data)
// and answers a TemplateSet that owns a copy of the block, or an error naming the first fault
// and its byte position. It never reads outside the block or outside the region a size or
// offset field announces; counts are checked against the remaining bytes before anything is
// allocated. Rejected: truncation anywhere, counts or lengths larger than the data, an index
// length that is not 8 × windows, record offsets that are not contiguous and in index order,
// bytes left over inside a unit table or after the last window, a window id outside class 0x52,
// a first unit outside class 0x06, a serial number 0, a repeated window or unit id, a menu
// record whose type is not the menu type, and a handler offset (other than -1) that names no
// routine of the code base. An empty block parses to no windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/kernel/result.h"
#include "runtime/abi/image.h"
#include "ui/templates/template_model.h"

namespace ui::templates {

// The parsed set, or the first fault (what, position).
using ParseResult = lyr::Result<TemplateSet>;

ParseResult parse_templates(std::span<const std::uint8_t> block, const runtime::CodeBase* code_base);

}  // namespace ui::templates
