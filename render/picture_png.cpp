// PNG through libpng. Only colour types that carry an alpha channel (grey +
// alpha, RGB + alpha) give a picture with alpha; palette and grey
// transparency (tRNS) are deliberately not applied, and neither is gamma.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "render/picture_loaders.h"

namespace lum {
namespace {

struct MemoryInput {
  ByteSpan bytes;
  size_t pos = 0;
};

struct ErrorState {
  char message[256];
};

void onRead(png_structp png, png_bytep dst, png_size_t length) {
  auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (length > in->bytes.size() - in->pos) png_error(png, "file is cut short");
  std::memcpy(dst, in->bytes.data() + in->pos, length);
  in->pos += length;
}

void onError(png_structp png, png_const_charp message) {
  auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
  std::strncpy(state->message, message, sizeof state->message - 1);
  state->message[sizeof state->message - 1] = '\0';
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

}  // namespace

Result<Picture> loadPngPicture(ByteSpan bytes) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
    return Error{"not a PNG file", 0};
  ErrorState state{};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning);
  if (!png) return Error{"PNG decoder cannot start"};
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return Error{"PNG decoder cannot start"};
  }
  MemoryInput input{bytes, 0};
  // Declared before setjmp so a jump back leaves them in a defined state.
  Picture picture;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return Error{std::string("PNG cannot be decoded: ") + state.message};
  }
  png_set_read_fn(png, &input, onRead);
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(png, 64u << 20);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (!pictureSizeAllowed(width, height)) png_error(png, "picture size is unusable");
  const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;

  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * 4) png_error(png, "unexpected row layout");

  picture = Picture::blank(int(width), int(height), alpha ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
  picture.bitsPerPixel = alpha ? 32 : 24;
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = picture.row(int(y));
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return picture;
}

}  // namespace lum
