// The unit type descriptors of the core library, one per unit type, each with its property
// descriptors and interface query. The core library's type table (core_library.h) is made of
// these.
#pragma once

#include <cstdint>

#include "runtime/abi/image.h"

namespace ui {

const runtime::UnitTypeDescriptor& window_unit_type();       // (1,1)
const runtime::UnitTypeDescriptor& menu_unit_type();         // (1,3)
const runtime::UnitTypeDescriptor& edit_unit_type();         // (1,5)
const runtime::UnitTypeDescriptor& picture_box_unit_type();  // (1,6)
const runtime::UnitTypeDescriptor& group_box_unit_type();    // (1,9)
const runtime::UnitTypeDescriptor& label_unit_type();        // (1,10)
const runtime::UnitTypeDescriptor& button_unit_type();       // (1,11)

// Type references of the core library's unit types.
inline constexpr std::uint32_t kWindowType = 0x00010001;
inline constexpr std::uint32_t kMenuType = 0x00010003;
inline constexpr std::uint32_t kEditType = 0x00010005;
inline constexpr std::uint32_t kPictureBoxType = 0x00010006;
inline constexpr std::uint32_t kGroupBoxType = 0x00010009;
inline constexpr std::uint32_t kLabelType = 0x0001000A;
inline constexpr std::uint32_t kButtonType = 0x0001000B;

}  // namespace ui
