// Laying out a text element: language lookup, explicit line breaks and word
// wrapping. Lines of the layout text are separated by byte 0; a byte 1
// carries a wide character in the two bytes after it.
#include "media/image_cache.h"
#include "platform/wide_escape.h"
#include "render/font.h"
#include "render/fonts.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/runtime.h"
#include "scene/text.h"

namespace lum {
namespace {

// The first space or byte 0 at or after `from`, stepping over the code bytes
// of wide characters; the end when there is none.
size_t findBreak(std::string_view text, size_t from) {
  for (size_t i = from; i < text.size(); i += wideCharAt(text, i).size) {
    if (text[i] == ' ' || text[i] == '\0') return i;
  }
  return text.size();
}

// Splits at CR LF and at the two characters backslash n, whichever comes
// first each time; every part is followed by byte 0.
std::string splitLines(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    size_t crlf = text.find("\r\n");
    size_t slashN = text.find("\\n");
    size_t cut = std::min(crlf, slashN);
    if (cut == std::string_view::npos) {
      out.append(text);
      out.push_back('\0');
      break;
    }
    out.append(text.substr(0, cut));
    out.push_back('\0');
    text.remove_prefix(cut + 2);
  }
  return out;
}

}  // namespace

void TLumText::SetText(const std::string& text) {
  text_ = text;
  if (!textId_.empty() && root()) text_ = root()->LangText(textId_);
  layOut();
}

void TLumText::layOut() {
  if (!enEnter_ || !font_) {
    layout_ = text_;
    return;
  }
  font_->Scale = scale_;
  layout_ = splitLines(text_);
  if (!autoEnter_) return;
  std::string input = std::move(layout_);
  layout_.clear();
  double x = 0;
  const double space = lineWidth(" ");
  size_t pos = 0;
  while (pos < input.size()) {
    size_t end = findBreak(input, pos);
    std::string word = input.substr(pos, end - pos);
    if (x != 0) word.insert(word.begin(), ' ');
    const double w = lineWidth(word);
    if (x + w > sizeX_ && x != 0) {
      word[0] = '\0';  // the gap becomes a line break
      x = w - space;
    } else {
      x += w;
    }
    layout_ += word;
    pos = end + 1;
  }
}

double TLumText::glyphScale() const {
  TLumDB* db = root();
  TLumIm* sheet = db ? db->unicodeGlyphImage() : nullptr;
  if (!font_ || !sheet || !sheet->Texture || sheet->Texture->PatternSize().height == 0) return 0;
  return font_->TextHeight("W") / sheet->Texture->PatternSize().height;
}

double TLumText::lineWidth(std::string_view line) const {
  if (!font_) return 0;
  TLumDB* db = root();
  if (!db || !db->unicodeMode()) return font_->TextWidth(line);
  const std::vector<UnicodeGlyph>& glyphs = db->glyphTable();
  const double q = glyphScale();
  double width = 0;
  for (size_t i = 0; i < line.size(); i += wideCharAt(line, i).size) {
    const WideChar c = wideCharAt(line, i);
    if (c.cutOff) break;
    const uint32_t code = c.code;
    if (code < glyphs.size()) width += glyphs[code].width * q;
  }
  return width;
}

void TLumText::SetFont(const std::string& name) {
  fontName_ = name;
  Runtime* rt = runtime();
  font_ = rt ? rt->services.fonts.Find(name) : nullptr;
  SetText(text_);
}

void TLumText::SetTextId(const std::string& id) {
  textId_ = id;
  SetText(text_);
}

void TLumText::SetSizeX(int32_t v) {
  sizeX_ = v;
  SetText(text_);
}

void TLumText::SetEnEnter(bool v) {
  enEnter_ = v;
  SetText(text_);
}

void TLumText::SetAutoEnter(bool v) {
  autoEnter_ = v;
  SetText(text_);
}

void TLumText::SetAutoScale(bool v) {
  autoScale_ = v;
  SetText(text_);
}

void TLumText::SetScale(double v) {
  scale_ = v;
  SetText(text_);
}

}  // namespace lum
