#include "platform/windows_path.h"

#include <cctype>

namespace lum {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::string_view trimTrailingDotsAndBlanks(std::string_view component) {
  if (component == "." || component == "..") return component;
  while (!component.empty() && (component.back() == '.' || component.back() == ' ')) {
    component.remove_suffix(1);
  }
  return component;
}

size_t lastSeparatorOrColon(std::string_view name) { return name.find_last_of("\\/:"); }

}  // namespace

bool isDriveOrServerName(std::string_view name) {
  if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':') {
    return true;
  }
  return name.size() >= 2 && isSeparator(name[0]) && isSeparator(name[1]);
}

std::optional<std::vector<std::string>> splitWindowsName(std::string_view name) {
  if (isDriveOrServerName(name) || name.find('\0') != std::string_view::npos) {
    return std::nullopt;
  }
  std::vector<std::string> components;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) ++end;
    const std::string_view component = trimTrailingDotsAndBlanks(name.substr(start, end - start));
    if (component == "..") {
      if (components.empty()) return std::nullopt;
      components.pop_back();
    } else if (!component.empty() && component != ".") {
      components.emplace_back(component);
    }
    start = end + 1;
  }
  return components;
}

std::string_view windowsFileName(std::string_view name) {
  const size_t cut = lastSeparatorOrColon(name);
  return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

std::string_view windowsFolderPart(std::string_view name) {
  const size_t cut = lastSeparatorOrColon(name);
  return cut == std::string_view::npos ? std::string_view() : name.substr(0, cut + 1);
}

}  // namespace lum
