#include "automation/automation_commands.h"

namespace automation {
namespace {

constexpr std::uint32_t kStateWord = 0x80000000;

runtime::UnitTypeDescriptor data_type(const char* name, const char* english_name) {
  runtime::UnitTypeDescriptor d{};
  d.name = name;
  d.english_name = english_name;
  d.state_bits = kStateWord;
  return d;
}

}  // namespace

const runtime::UnitTypeDescriptor& com_object_type_descriptor() {
  static const runtime::UnitTypeDescriptor d = data_type("\xB6\xD4\xCF\xF3", "ComObject");  // 对象
  return d;
}

const runtime::UnitTypeDescriptor& variant_type_descriptor() {
  static const runtime::UnitTypeDescriptor d = data_type("\xB1\xE4\xCC\xE5\xD0\xCD", "Variant");  // 变体型
  return d;
}

}  // namespace automation
