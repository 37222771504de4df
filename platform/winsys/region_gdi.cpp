// Crossing between the window system's regions and gdi region handles.
#include "platform/api/gdi.h"
#include "platform/gdi/region_access.h"
#include "platform/winsys/region.h"

namespace platform::winsys {

HRGN Region::to_hrgn() const {
  return gdi::make_region(r_);
}

Region Region::from_hrgn(HRGN rgn) {
  Region out;
  if (const cairo_region_t* r = gdi::region_of(rgn)) cairo_region_union(out.r_, r);
  return out;
}

}  // namespace platform::winsys
