#include "scene/property.h"

namespace lum {

int64_t ordinalOf(const PropertyValue& value) {
  if (auto* i = std::get_if<int64_t>(&value)) return *i;
  return 0;
}

double floatOf(const PropertyValue& value) {
  if (auto* d = std::get_if<double>(&value)) return *d;
  if (auto* i = std::get_if<int64_t>(&value)) return static_cast<double>(*i);
  return 0.0;
}

std::string stringOf(const PropertyValue& value) {
  if (auto* s = std::get_if<std::string>(&value)) return *s;
  return {};
}

const std::vector<std::string>& posHorNames() {
  static const std::vector<std::string> names{"phLeft", "phCenter", "phRight"};
  return names;
}

const std::vector<std::string>& posVertNames() {
  static const std::vector<std::string> names{"pvTop", "pvCenter", "pvBottom"};
  return names;
}

}  // namespace lum
