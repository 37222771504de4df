// What every unit type file would otherwise repeat: the adaptation of a unit class to the
// operation signatures of unit_interface.h, the query answering the common codes, and the
// descriptor record.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <type_traits>
#include <vector>

#include "runtime/abi/image.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"

namespace ui {

// An operation as an interface query hands it out; Op names the signature it must have.
template <class Op>
void* operation_pointer(std::type_identity_t<Op> op) {
  return reinterpret_cast<void*>(op);
}

// The create (1), set (4), serialize (5) and get (6) operations of unit class T, which has
// `static T* create(const UnitCreateArgs&)`, `std::vector<std::uint8_t> serialize() const` and
// the setter and getter named by Set and Get. A null unit or output answers 0 or false.
template <class T, auto Set = &T::set, auto Get = &T::get>
struct UnitOperations {
  // The unit object behind the void* the operations receive (it is always passed as Unit*).
  static T* of(void* unit) { return static_cast<T*>(static_cast<Unit*>(unit)); }

  static void* create(const UnitCreateArgs& args) { return static_cast<Unit*>(T::create(args)); }

  static int set(void* unit, std::int32_t own_index, const PropertyPair& value) {
    return unit != nullptr ? std::invoke(Set, of(unit), own_index, value) : 0;
  }

  static int get(void* unit, std::int32_t own_index, PropertyPair* value) {
    return unit != nullptr && value != nullptr ? std::invoke(Get, of(unit), own_index, value) : 0;
  }

  static bool serialize(void* unit, std::vector<std::uint8_t>* out) {
    if (unit == nullptr || out == nullptr) return false;
    *out = of(unit)->serialize();
    return true;
  }

  // The common codes; null for any other, which a type's own query answers first.
  static void* query(std::int32_t code) {
    switch (code) {
      case kCreateOp:
        return operation_pointer<CreateOp>(&create);
      case kSetOp:
        return operation_pointer<SetOp>(&set);
      case kSerializeOp:
        return operation_pointer<SerializeOp>(&serialize);
      case kGetOp:
        return operation_pointer<GetOp>(&get);
      default:
        return nullptr;
    }
  }
};

// A unit type without commands, events or elements.
constexpr runtime::UnitTypeDescriptor unit_type_descriptor(
    const char* name, const char* english_name, std::uint32_t state_bits,
    std::span<const runtime::PropertyDescriptor> properties, runtime::InterfaceQuery interface_query) {
  return {
      .name = name,
      .english_name = english_name,
      .explanation = nullptr,
      .command_count = 0,
      .command_indexes = nullptr,
      .state_bits = state_bits,
      .reserved = 0,
      .event_count = 0,
      .events = nullptr,
      .property_count = static_cast<std::uint32_t>(properties.size()),
      .properties = properties.data(),
      .interface_query = interface_query,
      .element_count = 0,
      .elements = nullptr,
  };
}

}  // namespace ui
