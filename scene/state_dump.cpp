#include "scene/state_dump.h"

#include "scene/element.h"
#include "script/value_text.h"

namespace lum {

OrderedJson stateToJson(const TLumElement& e, const CodePage& codePage,
                        const ValueFormatter& format) {
  OrderedJson node = elementToJson(e, codePage);
  // Children are dumped again below so that theirs carry variables too.
  node["children"] = OrderedJson::array();
  if (const TVarList* vars = e.variables(); vars && vars->size() > 0) {
    OrderedJson list = OrderedJson::array();
    for (const TVar& v : vars->records()) {
      auto [kind, text] = format(v.Value);
      list.push_back(OrderedJson::array(
          {codePage.toUtf8(v.Name), kind, kind == "str" ? codePage.toUtf8(text) : text}));
    }
    node["vars"] = std::move(list);
  }
  for (const auto& c : e.children()) node["children"].push_back(stateToJson(*c, codePage, format));
  return node;
}

OrderedJson stateToJson(const TLumElement& root, const CodePage& codePage,
                        const ElementTable& elements) {
  return stateToJson(root, codePage, [&](const ScriptValue& v) {
    std::string text = KindAndValue(v, elements);
    const size_t colon = text.find(':');
    return std::make_pair(text.substr(0, colon), text.substr(colon + 1));
  });
}

}  // namespace lum
