// Stock objects and system colours.
#pragma once

#include <memory>

#include "platform/gdi/dc.h"

namespace platform::gdi {

// The stock object for a GetStockObject index, or nullptr.
std::shared_ptr<GdiObject> stock_object(int index);
template <class T>
std::shared_ptr<T> stock(int index) {
  return std::static_pointer_cast<T>(stock_object(index));
}

}  // namespace platform::gdi
