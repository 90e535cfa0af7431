#pragma once
// A small element tree and an interpreter pool for the script tests.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "script/pool.h"
#include "script/scanner.h"

namespace lum::testing {

class FakeElement : public ScriptElement {
 public:
  FakeElement(ElementTable& table, std::string id, std::string className, FakeElement* parent,
              uint32_t key)
      : table_(table), id_(std::move(id)), class_(std::move(className)), parent_(parent), key_(key) {
    table_.Register(*this);
    if (parent_ != nullptr) parent_->children_.push_back(this);
  }
  ~FakeElement() override { table_.Release(*this); }

  std::map<std::string, ScriptValue> props;  // upper-case names
  TVarList vars;

  bool GetValue(std::string_view name, ScriptValue& out) override {
    const int i = vars.IndexOf(name);
    if (i >= 0) {
      out = vars[static_cast<size_t>(i)].Value;
      return true;
    }
    auto it = props.find(std::string(name));
    if (it != props.end()) {
      out = it->second;
      return true;
    }
    if (ScriptElement* child = FindChildById(name)) {
      out = ScriptValue::Ref(child->Handle());
      return true;
    }
    if (name == "NIL") return out = ScriptValue::Ref(0), true;
    if (name == "SELF") return out = ScriptValue::Ref(Handle()), true;
    if (name == "PARENT" && parent_ != nullptr) return out = ScriptValue::Ref(parent_->Handle()), true;
    return false;
  }
  bool SetValue(std::string_view name, const ScriptValue& value) override {
    if (vars.SetExisting(name, value)) return true;
    auto it = props.find(std::string(name));
    if (it == props.end()) return false;
    it->second = value;
    return true;
  }
  ScriptElement* Parent() const override { return parent_; }
  uint32_t Key() const override { return key_; }
  std::string Id() const override { return id_; }
  std::string ClassName() const override { return class_; }
  int ChildCount() const override { return static_cast<int>(children_.size()); }
  ScriptElement* Child(int i) const override { return children_[static_cast<size_t>(i)]; }
  TVarList* OwnVariables() override { return &vars; }

 private:
  ElementTable& table_;
  std::string id_, class_;
  FakeElement* parent_;
  uint32_t key_;
  std::vector<FakeElement*> children_;
};

// Pool with log lines kept in memory (and no file).
struct Harness {
  explicit Harness(const InterpreterPool::Registration& reg = {}) : pool(reg) {
    env().log.SetPath("");
    env().log.SetSaveErr(true);
    env().log.SetKeepLines(true);
  }
  ScriptEnvironment& env() { return pool.Environment(); }
  TPasCalc& calc() { return pool.Current(); }
  const std::vector<std::string>& log() { return env().log.KeptLines(); }

  // Prepares and runs on the current interpreter, like lumscript; false
  // when either step recorded an error.
  bool Run(std::string_view source) {
    const PreparedScript prepared = calc().PrepareScript(source);
    prepareCode = calc().ErrorCode();
    prepareMessage = calc().ErrorMessage();
    const bool ran = calc().Run(prepared);
    return ran && prepareCode == 0;
  }
  ScriptValue Var(std::string_view name) {
    const int i = calc().Variables().IndexOf(name);
    return i < 0 ? ScriptValue() : calc().Variables()[static_cast<size_t>(i)].Value;
  }
  bool Has(std::string_view name) { return calc().Variables().Exists(name); }
  // Evaluates expression source; on failure the error state tells why.
  bool Eval(std::string_view source, ScriptValue& out) {
    TVar result;
    const bool ok = calc().Evaluate(Tokenise(source), result);
    out = result.Value;
    return ok;
  }
  // The run's error, else the preparation's.
  int code() { return calc().ErrorCode() != 0 ? calc().ErrorCode() : prepareCode; }
  const std::string& message() {
    return calc().ErrorCode() != 0 ? calc().ErrorMessage() : prepareMessage;
  }

  InterpreterPool pool;
  int prepareCode = 0;
  std::string prepareMessage;
};

}  // namespace lum::testing
