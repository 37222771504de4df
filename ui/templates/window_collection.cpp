#include "ui/templates/window_collection.h"

#include <utility>

namespace ui::templates {

void WindowCollection::replace(TemplateSet set) {
  templates_ = std::move(set);
  slots_.assign(templates_.windows().size(), WindowSlots{});
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    const std::size_t units = templates_.windows()[i].units.size();
    slots_[i].unit_objects.assign(units, nullptr);
    slots_[i].unit_natives.assign(units, nullptr);
    slots_[i].cursors.assign(units, nullptr);
    slots_[i].cursor_owned.assign(units, 0);
    slots_[i].menu_handles.assign(units, nullptr);
  }
  last_error_.reset();
}

void WindowCollection::clear() {
  templates_ = TemplateSet();
  slots_.clear();
}

WindowCollection& window_collection() {
  static WindowCollection collection;
  return collection;
}

bool load_templates(std::span<const std::uint8_t> block, const runtime::CodeBase* code_base) {
  WindowCollection& collection = window_collection();
  ParseResult parsed = parse_templates(block, code_base);
  if (!parsed) {
    // Nothing half-loaded stays behind: a bad block loads no template at all.
    collection.clear();
    collection.set_load_error(parsed.failure());
    return false;
  }
  collection.replace(std::move(parsed.value()));
  return true;
}

const runtime::WindowSystem& template_window_system() {
  static const runtime::WindowSystem operations{.load_templates = load_templates};
  return operations;
}

void install_template_loader() {
  runtime::install_window_system(&template_window_system());
}

}  // namespace ui::templates
