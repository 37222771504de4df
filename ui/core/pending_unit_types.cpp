// Unit types whose implementation has not landed yet: empty descriptors (no interface query), so
// that a window using them fails to build. Each definition leaves this file when its unit type
// arrives; the file goes when it is empty.
#include "runtime/image.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {
const runtime::UnitTypeDescriptor kPending{};
}  // namespace

const runtime::UnitTypeDescriptor& edit_unit_type() { return kPending; }
const runtime::UnitTypeDescriptor& group_box_unit_type() { return kPending; }
const runtime::UnitTypeDescriptor& button_unit_type() { return kPending; }

}  // namespace ui
