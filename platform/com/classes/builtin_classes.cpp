#include "platform/com/builtin_classes.h"

#include "platform/com/classes/http_request.h"
#include "platform/com/classes/stream.h"

namespace platform::com {

std::vector<ClassEntry> builtin_classes() {
  std::vector<ClassEntry> classes = http_request_class_entries();
  classes.push_back(stream_class_entry());
  return classes;
}

}  // namespace platform::com
