#include "scene/class_info.h"

#include <algorithm>

#include "scene/anim.h"
#include "scene/db.h"
#include "scene/effect.h"
#include "scene/element.h"
#include "scene/image.h"
#include "scene/imlist.h"
#include "scene/screen.h"
#include "scene/shape.h"
#include "scene/text.h"

namespace lum {

int ClassInfo::findProperty(std::string_view propertyName) const {
  for (size_t i = 0; i < properties.size(); ++i) {
    if (sameUpperAscii(properties[i].name, propertyName)) return static_cast<int>(i);
  }
  return -1;
}

int ClassInfo::findUpperProperty(std::string_view upperName) const {
  if (!upperIndex) {
    // The first property of a name wins, as in findProperty.
    std::vector<std::pair<std::string, int>> names;
    for (size_t i = 0; i < properties.size(); ++i)
      names.emplace_back(upperAscii(properties[i].name), static_cast<int>(i));
    upperIndex = std::make_shared<const FixedNameIndex>(names);
  }
  return upperIndex->Find(upperName);
}

bool ClassInfo::mayBeChildOf(std::string_view parentClass) const {
  return std::find(allowedParents.begin(), allowedParents.end(), parentClass) !=
         allowedParents.end();
}

ClassRegistry::ClassRegistry()
    : classes_{&TLumDB::info(),     &TLumScreen::info(), &TLumImage::info(),
               &TLumExScreen::info(), &TLumAnim::info(),   &TLumAnKey::info(),
               &TLumExAnim::info(), &TLumEffect::info(), &TLumImList::info(),
               &TLumShape::info(),  &TLumText::info()} {}

const ClassRegistry& ClassRegistry::instance() {
  static const ClassRegistry registry;
  return registry;
}

const ClassInfo* ClassRegistry::find(std::string_view className) const {
  for (const ClassInfo* c : classes_) {
    if (c->name == className) return c;
  }
  return nullptr;
}

}  // namespace lum
