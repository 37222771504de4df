// Type-library files and the type-library functions.
// A type-library file is text in UTF-8, one declaration a line; blank lines and lines that
// begin with '#' are ignored:
//   LYRTLB 1                      the first line, always
//   library <name>                the library's name (once, before any class)
//   class <name> <clsid-or-progid> a creatable class: name, then "{...}" or a registered ProgID
// Contract:
// - LoadTypeLib reads such a file (path in the program's form or the system's) and answers an
//   ITypeLib whose type infos are the classes (TKIND_COCLASS; CreateInstance creates the class
//   through CoCreateInstance). A missing file gives TYPE_E_CANTLOADLIBRARY, a malformed one
//   TYPE_E_INVDATAREAD.
// - ITypeLib::FindName matches class names without regard to case.
// - RegisterTypeLib records the file (once, however often it is registered) and makes each
//   class creatable by the ProgID "<library>.<class>".
#pragma once

#include <string>
#include <vector>

#include "platform/com/typeinfo.h"

HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** library);
HRESULT RegisterTypeLib(ITypeLib* library, LPCOLESTR full_path, LPCOLESTR help_directory);

namespace platform::com {

// Paths of the registered type-library files, in registration order.
std::vector<std::u16string> registered_type_libraries();

}  // namespace platform::com
