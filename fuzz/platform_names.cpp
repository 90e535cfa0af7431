// Feeds arbitrary bytes to the name handling: Windows path splitting,
// wildcard matching, the wide escape and the UTF conversions must never
// crash, and the escape must round-trip what it encodes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/utf.h"
#include "platform/wide_escape.h"
#include "platform/wildcard.h"
#include "platform/windows_path.h"

namespace {

const lum::CodePage& codePage() {
  static const lum::CodePage instance;
  return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t cut = bytes.find('|');
  const auto name = bytes.substr(0, cut);
  const auto pattern =
      cut == std::string_view::npos ? std::string_view("*") : bytes.substr(cut + 1);

  (void)lum::splitWindowsName(name);
  (void)lum::windowsFileName(name);
  (void)lum::windowsFolderPart(name);
  (void)lum::matchesWildcard(name, pattern, codePage());

  const std::u16string wide = lum::decodeWideEscape(bytes, codePage());
  for (auto mode : {lum::WideEscapeMode::NonAscii, lum::WideEscapeMode::Unmappable}) {
    if (lum::decodeWideEscape(lum::encodeWideEscape(wide, codePage(), mode), codePage()) != wide) {
      __builtin_trap();
    }
  }
  const std::string utf8 = codePage().toUtf8(bytes);
  if (codePage().fromUtf8(utf8) != bytes) __builtin_trap();
  (void)lum::utf16ToUtf8(lum::utf8ToUtf16(bytes));
  (void)codePage().upper(bytes);
  return 0;
}
