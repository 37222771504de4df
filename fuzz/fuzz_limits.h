// Limits for fuzzing: the same checks as in the program, with smaller caps so that the fuzzer
// spends its time on parsing rather than on filling huge canvases.
#pragma once

#include "ui/picture/codecs/limits.h"

inline const lyr::picture::DecodeLimits& fuzz_limits() {
  static const lyr::picture::DecodeLimits limits = [] {
    lyr::picture::DecodeLimits l;
    l.max_pixels = 1 << 20;
    l.max_animation_pixels = 1 << 22;
    l.max_gif_frames = 256;
    return l;
  }();
  return limits;
}
