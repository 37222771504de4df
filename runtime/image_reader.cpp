#include "runtime/image_reader.h"

namespace runtime {
namespace {

bool library_usable(const LibraryRecord* library) {
  if (library == nullptr || library->format_mark != kLibraryRecordMark) return false;
  if (library->command_count != 0 && library->commands == nullptr) return false;
  if (library->type_count != 0 && library->types == nullptr) return false;
  return true;
}

bool slot_empty(const UnitTypeDescriptor& d) {
  return d.name == nullptr && d.english_name == nullptr && d.interface_query == nullptr &&
         d.state_bits == 0 && d.property_count == 0;
}

}  // namespace

std::optional<ImageView> read_image(const ImageHeader* header) {
  if (header == nullptr) return std::nullopt;
  const ImageHeader& h = *header;
  if (h.constants_size != 0 && h.constants == nullptr) return std::nullopt;
  if (h.templates_size != 0 && h.templates == nullptr) return std::nullopt;
  if (h.library_count != 0 && h.libraries == nullptr) return std::nullopt;
  if (h.dll_count != 0 && (h.dll_files == nullptr || h.dll_names == nullptr)) return std::nullopt;
  ImageView view{};
  view.header = header;
  if (h.constants_size != 0)
    view.constants = {static_cast<const std::uint8_t*>(h.constants), h.constants_size};
  if (h.templates_size != 0) view.templates = {h.templates, h.templates_size};
  if (h.library_count != 0) view.libraries = {h.libraries, h.library_count};
  for (const LibraryRecord* library : view.libraries) {
    if (!library_usable(library)) return std::nullopt;
  }
  view.dll_count = h.dll_count;
  return view;
}

const UnitTypeDescriptor* find_unit_type(std::span<const LibraryRecord* const> libraries,
                                         std::uint32_t reference) {
  std::uint32_t library_number = reference >> 16;
  std::uint32_t type_number = reference & 0xFFFF;
  if (library_number == 0 || library_number > libraries.size() || type_number == 0) return nullptr;
  const LibraryRecord* library = libraries[library_number - 1];
  if (library == nullptr || library->types == nullptr || type_number > library->type_count) return nullptr;
  const UnitTypeDescriptor& descriptor = library->types[type_number - 1];
  return slot_empty(descriptor) ? nullptr : &descriptor;
}

}  // namespace runtime
