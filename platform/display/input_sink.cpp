#include "platform/display/input_sink.h"

#include <mutex>

namespace platform::display {
namespace {

struct SinkStore {
  std::mutex mutex;
  InputSink sink;
};

SinkStore& store() {
  static SinkStore s;
  return s;
}

}  // namespace

void set_input_sink(const InputSink& sink) {
  std::lock_guard guard(store().mutex);
  store().sink = sink;
}

InputSink input_sink() {
  std::lock_guard guard(store().mutex);
  return store().sink;
}

}  // namespace platform::display
