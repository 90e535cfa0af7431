#include "render/picture_loaders.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace lum {
namespace {

bool endsWithNoCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  const auto tail = name.substr(name.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

PictureKind pictureKindForName(std::string_view fileName) {
  if (endsWithNoCase(fileName, ".tga")) return PictureKind::Tga;
  if (endsWithNoCase(fileName, ".jpg") || endsWithNoCase(fileName, ".jpeg"))
    return PictureKind::Jpeg;
  if (endsWithNoCase(fileName, ".png")) return PictureKind::Png;
  return PictureKind::Bitmap;
}

Result<Picture> loadPicture(ByteSpan bytes, PictureKind kind) {
  switch (kind) {
    case PictureKind::Bitmap:
      return loadBitmapPicture(bytes);
    case PictureKind::Tga:
      return loadTgaPicture(bytes);
    case PictureKind::Jpeg:
      return loadJpegPicture(bytes);
    case PictureKind::Png:
      return loadPngPicture(bytes);
    case PictureKind::ByExtension:
      break;
  }
  return Error{"picture kind needs a file name"};
}

Result<Picture> loadPictureNamed(ByteSpan bytes, std::string_view fileName) {
  return loadPicture(bytes, pictureKindForName(fileName));
}

Result<Picture> loadPictureFile(const std::string& path, PictureKind kind) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Error{"cannot open " + path};
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return Error{"cannot read " + path};
  if (kind == PictureKind::ByExtension) kind = pictureKindForName(path);
  auto picture = loadPicture(bytes, kind);
  if (!picture) return Error{path + ": " + picture.error().text()};
  return picture;
}

}  // namespace lum
