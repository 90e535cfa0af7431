#include "render/system_fonts.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>

#include "platform/utf.h"

namespace lum {

// One font file (and face within it) that may serve a family, with the
// characters it has.
struct SystemFonts::Candidate {
  std::string file;
  int face = 0;
  FcCharSet* characters = nullptr;  // owned reference

  Candidate(std::string f, int i, FcCharSet* c) : file(std::move(f)), face(i), characters(c) {}
  Candidate(const Candidate&) = delete;
  Candidate(Candidate&& o) noexcept : file(std::move(o.file)), face(o.face), characters(o.characters) {
    o.characters = nullptr;
  }
  ~Candidate() {
    if (characters) FcCharSetDestroy(characters);
  }
  bool has(char32_t c) const { return characters && FcCharSetHasChar(characters, FcChar32(c)); }
};

// The fonts that may draw a family's texts, best first: the game's own
// files carrying the family, then fontconfig's choice and its fallbacks.
struct SystemFonts::Family {
  std::vector<Candidate> candidates;
};

struct SystemFonts::OpenFont {
  TTF_Font* font = nullptr;
  ~OpenFont() {
    if (font) TTF_CloseFont(font);
  }
};

namespace {

// fontconfig's list for a family may hold every font of the system; the
// best few are plenty to find one with the characters of a text.
constexpr size_t kMaxCandidates = 32;

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

// The file, face and characters of a font pattern; false for fonts that are
// not scalable or have no file.
bool describe(FcPattern* pattern, std::string& file, int& face, FcCharSet*& characters) {
  FcChar8* path = nullptr;
  FcBool scalable = FcTrue;
  if (FcPatternGetString(pattern, FC_FILE, 0, &path) != FcResultMatch) return false;
  if (FcPatternGetBool(pattern, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable) return false;
  face = 0;
  FcPatternGetInteger(pattern, FC_INDEX, 0, &face);
  FcCharSet* set = nullptr;
  characters = FcPatternGetCharSet(pattern, FC_CHARSET, 0, &set) == FcResultMatch ? FcCharSetCopy(set)
                                                                                  : nullptr;
  file = reinterpret_cast<const char*>(path);
  return true;
}

bool namesFamily(FcPattern* pattern, const std::string& name) {
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(family, reinterpret_cast<const FcChar8*>(name.c_str())) == 0) return true;
  }
  return false;
}

}  // namespace

SystemFonts::SystemFonts() = default;

SystemFonts::~SystemFonts() {
  open_.clear();
  families_.clear();
  if (config_) FcConfigDestroy(static_cast<FcConfig*>(config_));
  if (started_) TTF_Quit();
}

bool SystemFonts::start() {
  if (started_ || startFailed_) return started_;
  startFailed_ = TTF_Init() != 0;
  started_ = !startFailed_;
  if (started_) config_ = FcInitLoadConfigAndFonts();
  return started_;
}

void SystemFonts::addGameFont(const std::filesystem::path& file) {
  if (std::find(gameFonts_.begin(), gameFonts_.end(), file) != gameFonts_.end()) return;
  gameFonts_.push_back(file);
  families_.clear();  // resolved again with this file among the candidates
}

const SystemFonts::Family& SystemFonts::family(const std::string& name) {
  const std::string key = lowerAscii(name);
  auto found = families_.find(key);
  if (found != families_.end()) return *found->second;
  auto made = std::make_unique<Family>();

  for (const auto& path : gameFonts_) {
    int faces = 0;
    for (int i = 0; i == 0 || i < faces; ++i) {
      FcPattern* pattern =
          FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), i, nullptr, &faces);
      if (!pattern) break;
      std::string file;
      int face = 0;
      FcCharSet* characters = nullptr;
      if (namesFamily(pattern, name) && describe(pattern, file, face, characters)) {
        made->candidates.emplace_back(file, face, characters);
      }
      FcPatternDestroy(pattern);
    }
  }

  if (FcConfig* config = static_cast<FcConfig*>(config_)) {
    FcPattern* wanted = FcPatternCreate();
    FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddBool(wanted, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    if (FcFontSet* sorted = FcFontSort(config, wanted, FcTrue, nullptr, &result)) {
      for (int i = 0; i < sorted->nfont && made->candidates.size() < kMaxCandidates; ++i) {
        std::string file;
        int face = 0;
        FcCharSet* characters = nullptr;
        if (describe(sorted->fonts[i], file, face, characters)) {
          made->candidates.emplace_back(file, face, characters);
        }
      }
      FcFontSetDestroy(sorted);
    }
    FcPatternDestroy(wanted);
  }
  return *families_.emplace(key, std::move(made)).first->second;
}

SystemFonts::OpenFont* SystemFonts::open(const Candidate& candidate, int points) {
  const std::string key = candidate.file + '\n' + std::to_string(candidate.face) + '\n' +
                          std::to_string(points);
  auto found = open_.find(key);
  if (found != open_.end()) return found->second.get();
  auto made = std::make_unique<OpenFont>();
  made->font = TTF_OpenFontIndexDPI(candidate.file.c_str(), points, candidate.face, 96, 96);
  OpenFont* result = made->font ? made.get() : nullptr;
  open_.emplace(key, std::move(made));  // a file that fails is not tried again
  return result;
}

Result<Picture> SystemFonts::renderText(std::u16string_view text, const std::string& familyName,
                                        int points) {
  if (!start()) return Error{std::string("the font renderer cannot start: ") + TTF_GetError()};
  const std::u32string characters = utf16ToUtf32(text);
  const Family& fam = family(familyName);

  // The first font that has the most of the text's characters.
  OpenFont* chosen = nullptr;
  size_t best = 0;
  for (const Candidate& candidate : fam.candidates) {
    size_t has = 0;
    for (char32_t c : characters) has += c < 0x20 || candidate.has(c) ? 1 : 0;
    if (chosen && has <= best) continue;
    if (OpenFont* font = open(candidate, points)) {
      chosen = font;
      best = has;
      if (has == characters.size()) break;
    }
  }
  if (!chosen) return Error{"no font can be opened for " + familyName};

  const std::string utf8 = utf32ToUtf8(characters);
  int width = 0, height = 0;
  if (TTF_SizeUTF8(chosen->font, utf8.c_str(), &width, &height) != 0) {
    return Error{std::string("text cannot be measured: ") + TTF_GetError()};
  }
  height = std::clamp(height, 1, kMaxPictureSide);
  width = std::clamp(width, 0, int(std::min<int64_t>(kMaxPictureSide, kMaxPicturePixels / height)));
  Picture picture;
  picture.format = PixelFormat::X8R8G8B8;
  picture.bitsPerPixel = 24;
  picture.height = height;
  if (width == 0) return picture;
  picture = Picture::blank(width, height, PixelFormat::X8R8G8B8);
  SDL_Surface* surface = TTF_RenderUTF8_Blended(chosen->font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  if (!surface) return Error{std::string("text cannot be drawn: ") + TTF_GetError()};
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(surface);
  if (!argb) return Error{std::string("text cannot be drawn: ") + SDL_GetError()};
  // White with coverage as alpha, laid on black: the grey of each pixel is
  // its coverage, every pixel opaque.
  for (int y = 0; y < height; ++y) {
    uint8_t* row = picture.row(y);
    for (int x = 0; x < width; ++x) row[size_t(x) * 4 + 3] = 0xFF;
    if (y >= argb->h) continue;
    const auto* src = static_cast<const uint8_t*>(argb->pixels) + size_t(y) * size_t(argb->pitch);
    for (int x = 0; x < std::min(width, argb->w); ++x) {
      const uint8_t coverage = src[size_t(x) * 4 + 3];
      uint8_t* d = row + size_t(x) * 4;
      d[0] = d[1] = d[2] = coverage;
    }
  }
  SDL_FreeSurface(argb);
  return picture;
}

}  // namespace lum
