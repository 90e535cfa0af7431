// JPEG through libjpeg-turbo, always as an opaque picture. libjpeg reports
// fatal errors through a callback that must not return, so it jumps back to
// the decode function; only plain C state lives between setjmp and longjmp.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "render/picture_loaders.h"

namespace lum {
namespace {

// A progressive file can ask for a great many scans over a tiny image;
// real pictures use a handful.
constexpr int kMaxScans = 300;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void onFatal(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  err->base.format_message(info, err->message);
  std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {}  // warnings are not worth a word

struct ScanLimit {
  jpeg_progress_mgr base;
  j_decompress_ptr info;
};

void onProgress(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxScans) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::snprintf(err->message, sizeof err->message, "too many scans");
    std::longjmp(err->jump, 1);
  }
}

}  // namespace

Result<Picture> loadJpegPicture(ByteSpan bytes) {
  if (bytes.empty()) return Error{"JPEG file is empty"};
  jpeg_decompress_struct info;
  ErrorManager err;
  ScanLimit progress;
  // Declared before setjmp so a jump back leaves it in a defined state.
  Picture picture;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = onFatal;
  err.base.emit_message = onMessage;
  err.message[0] = '\0';
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return Error{std::string("JPEG cannot be decoded: ") + err.message};
  }
  jpeg_create_decompress(&info);
  progress.base.progress_monitor = onProgress;
  info.progress = &progress.base;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!pictureSizeAllowed(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return Error{"JPEG picture size is unusable"};
  }
  info.out_color_space = JCS_EXT_BGRA;  // byte order of Argb in memory
  jpeg_start_decompress(&info);
  picture = Picture::blank(int(info.output_width), int(info.output_height), PixelFormat::X8R8G8B8);
  picture.bitsPerPixel = 24;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.row(int(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  for (size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 0xFF;
  return picture;
}

}  // namespace lum
