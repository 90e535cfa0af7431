#pragma once
// The class registry: one entry per element class in registration order,
// with the class's published properties and the classes it may sit under.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/name_hash.h"
#include "scene/property.h"

namespace lum {

class TLumElement;

struct ClassInfo {
  std::string name;
  std::vector<PropertyDef> properties;
  std::vector<std::string> allowedParents;
  // Constructs an element of this class under parent (none for the root)
  // without checking the containment rules.
  std::unique_ptr<TLumElement> (*construct)() = nullptr;

  // Index of the property with that name, compared without regard to case;
  // -1 when the class has none.
  int findProperty(std::string_view propertyName) const;
  // The same for a name already in upper case (as scripts give them): one
  // hash lookup in a table made on first use.
  int findUpperProperty(std::string_view upperName) const;
  bool mayBeChildOf(std::string_view parentClass) const;

  // Built once, on the first lookup; a class's table never changes after.
  mutable std::shared_ptr<const FixedNameIndex> upperIndex = nullptr;
};

class ClassRegistry {
 public:
  // The registry is a fixed table, built on first use and never changed.
  static const ClassRegistry& instance();

  // Exact (case-sensitive) class-name lookup, as the game file needs.
  const ClassInfo* find(std::string_view className) const;
  const std::vector<const ClassInfo*>& classes() const { return classes_; }

 private:
  ClassRegistry();
  std::vector<const ClassInfo*> classes_;
};

}  // namespace lum
