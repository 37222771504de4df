// The texts of property access and event dispatch, as GB18030 bytes, written once. They sit in
// the lowest folder so that every layer reporting them includes them downward. Each constant
// carries its readable form in the comment above it.
#pragma once

namespace ui::messages {

// 未载入欲访问窗口组件所在的窗口 (property access to a window that is not loaded)
inline constexpr char kAccessWindowNotLoaded[] =
    "\xce\xb4\xd4\xd8\xc8\xeb\xd3\xfb\xb7\xc3\xce\xca\xb4\xb0\xbf\xda\xd7\xe9\xbc\xfe\xcb\xf9\xd4\xda\xb5\xc4"
    "\xb4\xb0\xbf\xda";
// 指定窗口尚未载入 (a type's own property of a unit without a live native window)
inline constexpr char kUnitNotLive[] = "\xd6\xb8\xb6\xa8\xb4\xb0\xbf\xda\xc9\xd0\xce\xb4\xd4\xd8\xc8\xeb";
// 未找到引发事件的窗口
inline constexpr char kEventWindowMissing[] =
    "\xce\xb4\xd5\xd2\xb5\xbd\xd2\xfd\xb7\xa2\xca\xc2\xbc\xfe\xb5\xc4\xb4\xb0\xbf\xda";
// 未找到引发事件的窗口组件
inline constexpr char kEventUnitMissing[] =
    "\xce\xb4\xd5\xd2\xb5\xbd\xd2\xfd\xb7\xa2\xca\xc2\xbc\xfe\xb5\xc4\xb4\xb0\xbf\xda\xd7\xe9\xbc\xfe";
// 引发事件的窗口组件无效
inline constexpr char kEventUnitInvalid[] =
    "\xd2\xfd\xb7\xa2\xca\xc2\xbc\xfe\xb5\xc4\xb4\xb0\xbf\xda\xd7\xe9\xbc\xfe\xce\xde\xd0\xa7";
// 宋体 (the face name that replaces a missing or too long one)
inline constexpr char kDefaultFaceName[] = "\xcb\xce\xcc\xe5";

}  // namespace ui::messages
