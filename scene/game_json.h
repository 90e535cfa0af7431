#pragma once
// The game tree as JSON, our authoring form: each element is
//   {"class": NAME, "properties": {NAME: VALUE, ...}, "children": [...]}
// with properties in their published order, booleans as true/false,
// enumerations by value name, and texts converted between the game's code
// page and UTF-8.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "platform/code_page.h"
#include "platform/result.h"

namespace lum {

class TLumElement;

using OrderedJson = nlohmann::ordered_json;

OrderedJson elementToJson(const TLumElement& element, const CodePage& codePage);
// The same tree as `out << std::setw(2) << elementToJson(...)` writes it,
// byte for byte, without building it: a big game's tree as JSON objects
// takes several times the game's own memory, and as long again to build.
void writeElementJson(std::ostream& out, const TLumElement& element, const CodePage& codePage);

// Writes the binary game file for a JSON tree. A property that is not given
// keeps its class default; the value count covers the last given property.
Result<std::string> gameFileFromJson(const OrderedJson& root, const CodePage& codePage);

}  // namespace lum
