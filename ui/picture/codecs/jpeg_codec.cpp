// JPEG through IJG libjpeg. Library errors return to the caller through longjmp; warnings
// that mean corrupt data are errors too; a progress monitor bounds the number of scans, so
// a progressive file with thousands of scans cannot keep the decoder busy.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

// libjpeg's headers need size_t and FILE declared before them.
// clang-format off
#include <jerror.h>
#include <jpeglib.h>
// clang-format on

#include "ui/picture/codecs/codec.h"

namespace lyr::picture {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

struct ScanLimit {
  jpeg_progress_mgr base;
  int max_scans;
};

[[noreturn]] void error_exit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void emit_message(j_common_ptr cinfo, int level) {
  // Negative levels are warnings; they all report damaged data except an unknown JFIF version.
  if (level < 0 && cinfo->err->msg_code != JWRN_JFIF_MAJOR) error_exit(cinfo);
}

void silent_output(j_common_ptr) {}

void check_scans(j_common_ptr cinfo) {
  if (cinfo->is_decompressor == 0) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  auto* limit = reinterpret_cast<ScanLimit*>(cinfo->progress);
  if (d->input_scan_number > limit->max_scans) {
    cinfo->err->msg_code = JERR_NOT_COMPILED;  // any code: the message is replaced below
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "too many scans");
    std::longjmp(err->jump, 1);
  }
}

struct JpegRaw {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;  // B,G,R bottom-up
};

void cmyk_row_to_bgr(const std::uint8_t* cmyk, std::uint8_t* bgr, std::uint32_t width, bool inverted) {
  for (std::uint32_t x = 0; x < width; ++x) {
    unsigned c = cmyk[x * 4], m = cmyk[x * 4 + 1], y = cmyk[x * 4 + 2], k = cmyk[x * 4 + 3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    bgr[x * 3] = static_cast<std::uint8_t>(y * k / 255);
    bgr[x * 3 + 1] = static_cast<std::uint8_t>(m * k / 255);
    bgr[x * 3 + 2] = static_cast<std::uint8_t>(c * k / 255);
  }
}

// Only trivially destructible locals live in this frame: longjmp may leave it at any call
// into the library. The output buffer belongs to the caller.
bool run_decoder(Bytes bytes, const DecodeLimits& limits, bool header_only, JpegRaw& out,
                 std::vector<std::uint8_t>& cmyk_row, std::string& error) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  ScanLimit progress;
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = error_exit;
  err.base.emit_message = emit_message;
  err.base.output_message = silent_output;
  err.message[0] = '\0';
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    error = err.message;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  progress.base.progress_monitor = check_scans;
  progress.max_scans = limits.max_jpeg_scans;
  cinfo.progress = &progress.base;
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (!checked_buffer_size(cinfo.image_width, cinfo.image_height, 32, limits)) {
    jpeg_destroy_decompress(&cinfo);
    error = "JPEG too large";
    return false;
  }
  out.width = cinfo.image_width;
  out.height = cinfo.image_height;
  if (header_only) {
    jpeg_destroy_decompress(&cinfo);
    return true;
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width != out.width || cinfo.output_height != out.height) {
    jpeg_destroy_decompress(&cinfo);
    error = "JPEG output size changed";
    return false;
  }
  const std::size_t row_bytes = std::size_t{out.width} * 3;
  out.pixels.resize(row_bytes * out.height);
  if (cmyk) cmyk_row.resize(std::size_t{out.width} * 4);
  // Adobe writes CMYK inverted; that is what almost every CMYK file is.
  const bool inverted = cinfo.saw_Adobe_marker;
  while (cinfo.output_scanline < cinfo.output_height) {
    std::uint8_t* dst = out.pixels.data() + row_bytes * (out.height - 1 - cinfo.output_scanline);
    JSAMPROW row = cmyk ? cmyk_row.data() : dst;
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
      jpeg_destroy_decompress(&cinfo);
      error = "JPEG ended early";
      return false;
    }
    if (cmyk) cmyk_row_to_bgr(cmyk_row.data(), dst, out.width, inverted);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

Result<JpegRaw> run(Bytes bytes, const DecodeLimits& limits, bool header_only) {
  if (bytes.size() < 2) return fail("too short for a JPEG");
  JpegRaw out;
  std::vector<std::uint8_t> cmyk_row;
  std::string error;
  if (!run_decoder(bytes, limits, header_only, out, cmyk_row, error)) return fail("libjpeg: " + error);
  return out;
}

bool sniff(Bytes bytes) {
  return detect_format(bytes) == PictureFormat::jpeg;
}

Result<PictureSize> size(Bytes bytes, const DecodeLimits& limits) {
  LYR_TRY_ASSIGN(JpegRaw raw, run(bytes, limits, true));
  return PictureSize{static_cast<int>(raw.width), static_cast<int>(raw.height)};
}

Result<DecodedPicture> decode(Bytes bytes, const DecodeLimits& limits) {
  LYR_TRY_ASSIGN(JpegRaw raw, run(bytes, limits, false));
  DecodedPicture picture;
  picture.kind = PictureFormat::jpeg;
  picture.width = static_cast<int>(raw.width);
  picture.height = static_cast<int>(raw.height);
  picture.pixels = std::move(raw.pixels);
  return picture;
}

bool animated(Bytes, const DecodeLimits&) {
  return false;
}

}  // namespace

const Codec& jpeg_codec() {
  static const Codec codec{PictureFormat::jpeg, sniff, size, decode, animated};
  return codec;
}

}  // namespace lyr::picture
