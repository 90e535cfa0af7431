// PNG through libpng. Only colour types that carry an alpha channel (grey +
// alpha, RGB + alpha) give a picture with alpha; palette and grey
// transparency (tRNS) are deliberately not applied, and neither is gamma.
// Ancillary chunks (texts, suggested palettes, colour profiles ...) are
// skipped unread: nothing here uses them, and reading them would let a few
// bytes claiming a huge chunk length make libpng allocate that much.
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

// Rows hold one index per pixel at their start; widen them in place to
// opaque Argb, from the right so no index is overwritten before it is read.
void expandPalette(png_structp png, png_infop info, Picture& picture) {
  png_colorp colours = nullptr;
  int count = 0;
  if (!png_get_PLTE(png, info, &colours, &count)) count = 0;
  for (int y = 0; y < picture.height; ++y) {
    uint8_t* row = picture.row(y);
    for (int x = picture.width - 1; x >= 0; --x) {
      const int i = row[x];
      uint8_t* d = row + size_t(x) * 4;
      const png_color c = i < count ? colours[i] : png_color{0, 0, 0};
      d[0] = c.blue, d[1] = c.green, d[2] = c.red, d[3] = 0xFF;
    }
  }
}

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
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Checksums would stop almost every mutated input before decoding starts.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(png, 64u << 20);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (!pictureSizeAllowed(width, height)) png_error(png, "picture size is unusable");
  const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  // Forget any tRNS chunk, or the palette expansion would turn it into alpha.
  png_set_invalid(png, info, PNG_INFO_tRNS);

  // Palette pictures are read as indices and looked up here: libpng's own
  // expansion would apply the palette's transparency.
  const bool palette = colourType == PNG_COLOR_TYPE_PALETTE;
  if (palette) png_set_packing(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!alpha && !palette) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * (palette ? 1 : 4))
    png_error(png, "unexpected row layout");

  picture = Picture::blank(int(width), int(height), alpha ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
  picture.bitsPerPixel = alpha ? 32 : 24;
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = picture.row(int(y));
  png_read_image(png, rows.data());
  if (palette) expandPalette(png, info, picture);
  png_destroy_read_struct(&png, &info, nullptr);
  return picture;
}

}  // namespace lum
