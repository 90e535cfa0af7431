#pragma once
// How scripts see an element: the interpreter's element interface, kept as
// a small object inside each element so that the element's own published
// names (Key, Id) stay plain fields.
#include "script/element.h"

namespace lum {

class TLumElement;

class ElementScriptFace final : public ScriptElement {
 public:
  explicit ElementScriptFace(TLumElement& element) : element_(element) {}
  TLumElement& element() const { return element_; }

  bool GetValue(std::string_view name, ScriptValue& out) override;
  bool SetValue(std::string_view name, const ScriptValue& value) override;
  bool FindNameHandle(std::string_view name, NameHandle& out) override;
  bool GetValueByHandle(const NameHandle& handle, std::string_view name, ScriptValue& out) override;
  bool SetValueByHandle(const NameHandle& handle, std::string_view name,
                        const ScriptValue& value) override;
  bool FindPropertyCell(const NameHandle& handle, std::string_view name, PropertyCell& out) override;
  bool IsFixedStep(const NameHandle& handle) const override;
  ScriptElement* Parent() const override;
  uint32_t Key() const override;
  std::string Id() const override;
  std::string ClassName() const override;
  int ChildCount() const override;
  ScriptElement* Child(int index) const override;
  TVarList* OwnVariables() override;
  // No published or special name has an index: only own variables can.
  bool MayTakeIndexedName() override;

 private:
  TLumElement& element_;
};

}  // namespace lum
