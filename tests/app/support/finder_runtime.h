// The finder's runtime started on its own program image without its window, for tests and
// benchmarks of the finder's routines: they reach the commands, the DLL commands and the values
// through the service table, as in the program.
// Contract: one at a time per process (it is the runtime's host application). Construction
// starts the runtime as the finder's entry routine does up to loading its window: the service
// table bound, the runtime's start-up service run (started() tells whether the entry ran);
// destruction runs the end sequence. Runtime error boxes answer at once, reported on stderr.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/services.h"
#include "runtime/host_app.h"

namespace app_test {

class FinderRuntime {
 public:
  FinderRuntime();
  ~FinderRuntime();
  FinderRuntime(const FinderRuntime&) = delete;
  FinderRuntime& operator=(const FinderRuntime&) = delete;

  bool started() const { return started_; }

  // A runtime byte set holding these bytes (u32 1, u32 length, the bytes).
  static app::Bytes byte_set(std::string_view bytes);
  // The bytes a byte set holds; "" for none.
  static std::string bytes_of(const app::Bytes& bytes);

 private:
  std::unique_ptr<runtime::HostApplication> host_;
  bool started_ = false;
};

}  // namespace app_test
