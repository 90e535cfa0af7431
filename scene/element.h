#pragma once
// TLumElement: a node of the scene tree. Each element owns its children, in
// file order; that order is the order of processing and of drawing within a
// layer. Published properties are listed per class in a ClassInfo table.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/ascii_case.h"
#include "scene/class_info.h"
#include "scene/script_face.h"
#include "script/procedures.h"
#include "script/var_list.h"

namespace lum {

class TLumDB;
class TVarList;
struct Runtime;

// The twelve event scripts every element carries, in declaration order.
enum class EventSlot : uint8_t {
  MouseMove,
  Init,
  MouseUp,
  VarRS,
  MouseOut,
  MouseIn,
  AfterLoad,
  MouseDown,
  Update,
  Process,
  Show,
  Render,
};
constexpr size_t kEventSlotCount = 12;

// An event script as stored and as prepared for running (with the
// procedures it declares).
struct ScriptText {
  std::string source;
  PreparedScript prepared;
};

class TLumElement {
 public:
  virtual ~TLumElement();
  TLumElement(const TLumElement&) = delete;
  TLumElement& operator=(const TLumElement&) = delete;

  virtual const ClassInfo& classInfo() const;
  const std::string& className() const { return classInfo().name; }

  // Tree.
  TLumElement* parent() const { return parent_; }
  TLumDB* root() const { return root_; }
  // The running game's runtime; null only in a tree read by the tools,
  // which neither draws nor runs scripts.
  Runtime* runtime() const;
  size_t childCount() const { return children_.size(); }
  TLumElement* child(size_t index) const { return children_[index].get(); }
  const std::vector<std::unique_ptr<TLumElement>>& children() const { return children_; }
  // Creates a child of the named class (exact case) if this class may hold it.
  TLumElement* CreateChild(std::string_view className);
  // Depth-first search, parent before children. With a hint pointer that is
  // still empty, the hint is set to the next sibling of the child whose
  // subtree held the element (for callers that look up keys in tree order).
  TLumElement* FindByKey(int32_t key, TLumElement** hint);
  TLumElement* FindByKey(int32_t key);
  TLumElement* FindChildById(std::string_view name) const;
  // Removes and frees one child, keeping the order of the others.
  void DestroyChild(TLumElement* child);
  void DestroyChildren();
  // Moves a child to the end of the list (drawn last, hit first).
  void MoveChildToEnd(TLumElement* child);
  void ClearLoaded();

  // Scripts: the element as the interpreter sees it, its handle (0 when no
  // interpreter pool knows it), its own variables, and reading and writing
  // names as property paths do.
  ElementScriptFace& script() { return face_; }
  ElementRef handle() const { return face_.Handle(); }
  static TLumElement* fromScript(ScriptElement* element);
  static TLumElement* fromRef(Runtime* runtime, ElementRef ref);
  TVarList* variables() const { return vars_.get(); }
  virtual bool GetValue(std::string_view name, ScriptValue& out);
  virtual bool SetValue(std::string_view name, const ScriptValue& value);
  // Handles for published properties (see ScriptElement::NameHandle); a
  // class that answers some property names before its properties refuses
  // handles for them.
  virtual bool FindNameHandle(std::string_view name, ScriptElement::NameHandle& out);
  // Inline for what loops read and write most (an ordinal property, SELF),
  // when no own variable or child can stand in the way; the rest out of line.
  bool GetValueByHandle(const ScriptElement::NameHandle& handle, std::string_view name,
                        ScriptValue& out) {
    if (handle.scope == classInfo_ && !hasOwnVariables()) {
      if (handle.index >= 0) {
        const PropertyDef& prop = classInfo_->properties[static_cast<size_t>(handle.index)];
        if (prop.ordinalGetter != nullptr) {
          // Ordinal properties read as 32-bit integers, unsigned ones wrapping.
          out = ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(prop.ordinalGetter(*this))));
          return true;
        }
      } else if (children_.empty() && (handle.index == kHandleSelf || handle.index == kHandleLumDB)) {
        out = ScriptValue::Ref(handle.index == kHandleSelf ? this->handle() : rootRef());
        return true;
      }
    }
    return GetValueByHandleFully(handle, name, out);
  }
  bool SetValueByHandle(const ScriptElement::NameHandle& handle, std::string_view name,
                        const ScriptValue& value) {
    if (handle.scope == classInfo_ && handle.index >= 0 && value.kind() == ValueKind::Integer &&
        !hasOwnVariables()) {
      const PropertyDef& prop = classInfo_->properties[static_cast<size_t>(handle.index)];
      if (prop.ordinalSetter != nullptr) {
        prop.ordinalSetter(*this, narrowOrdinal(prop.kind, value.whole()));
        return true;
      }
    }
    return SetValueByHandleFully(handle, name, value);
  }
  // A cell for an ordinal property of the class, which own variables of
  // the name would hide (see ScriptElement::PropertyCell).
  bool FindPropertyCell(const ScriptElement::NameHandle& handle, std::string_view name,
                        ScriptElement::PropertyCell& out);
  bool IsFixedStep(const ScriptElement::NameHandle& handle) const {
    return handle.scope == classInfo_ &&
           (handle.index == kHandleSelf || handle.index == kHandleParent || handle.index == kHandleLumDB);
  }
  // Handles of the special names that paths start with (properties have
  // their index).
  static constexpr int32_t kHandleSelf = -2, kHandleParent = -3, kHandleLumDB = -4;

  // Events. Each operation sets its event label and runs its script on the
  // interpreter of the next nesting depth.
  virtual void Init();
  virtual void InitPr();
  virtual void AfterLoad();
  virtual void Process();
  virtual void Show();
  virtual void Update();
  virtual void MouseIn();
  virtual void MouseOut();
  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  // With KeepVariables::InOwnList the variables the run leaves join the
  // element's own list as it was when the run began. A script may replace
  // that list meanwhile (an exInit that runs Init on its own element): the
  // old list then lives until the run ends and is dropped with what it got,
  // so the element keeps the variables of its latest Init. Returns whether
  // the script ran without error.
  enum class KeepVariables { No, InOwnList };
  bool RunEvent(const ScriptText& script, const std::string& label,
                KeepVariables keep = KeepVariables::No);

  // Published base properties.
  int32_t Key = 0;
  // Scripts and the game file write it through SetId, so that paths that
  // scripts keep see the new name.
  std::string Id;
  void SetId(std::string id);
  std::string Tag;
  double rX = 0.0;
  double rY = 0.0;
  bool MousedNotVis = false;
  bool MousedVis = false;
  bool NoMsLumDB = false;
  bool MsKeep = false;
  bool NotSave = false;
  bool AutoInit = true;
  bool initialised = false;
  bool markedForLoading = false;

  bool Vis() const { return vis_; }
  virtual void SetVis(bool value) { vis_ = value; }
  // X and Y are integer views of rX and rY (rounded, halves to even).
  int32_t X() const;
  int32_t Y() const;
  virtual void SetX(int32_t value) { rX = value; }
  virtual void SetY(int32_t value) { rY = value; }
  virtual int32_t SizeX() const { return 0; }
  virtual int32_t SizeY() const { return 0; }
  virtual void SetSizeX(int32_t) {}
  virtual void SetSizeY(int32_t) {}
  virtual int32_t AbsX() const;
  virtual int32_t AbsY() const;
  virtual void SetPos(int32_t x, int32_t y) {
    rX = x;
    rY = y;
  }

  int32_t Order() const { return order_; }
  void SetOrder(int32_t value);
  int32_t minOrder() const { return minOrder_; }
  int32_t maxOrder() const { return maxOrder_; }

  const ScriptText& event(EventSlot slot) const {
    const std::unique_ptr<ScriptText>& held = events_[static_cast<size_t>(slot)];
    return held ? *held : NoScript();
  }
  void SetEvent(EventSlot slot, const std::string& source);
  // Stores a script text and prepares it for running (the kinds' own
  // scripts go through here too).
  void SetScriptText(ScriptText& script, const std::string& source);

  bool resourcesLoaded() const { return resourcesLoaded_; }
  virtual void LoadResources();
  virtual void ReloadResources();
  virtual void Draw(int32_t layer, uint32_t tint, double originX, double originY);
  // The element hit at (x, y), given in the parent's coordinates, on one
  // layer: the base asks the children, topmost (last) first.
  virtual TLumElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                               int32_t threshold);
  // Whether the visibility rule lets the element take part in hit tests
  // (an invisible element only with MousedNotVis, a visible one only with
  // MousedVis).
  bool admittedToHitTest() const { return Vis() ? MousedVis : MousedNotVis; }

  // Creates an element of the class as the last child of parent, with the
  // defaults a new child gets, without checking the containment rules.
  static TLumElement* createUnder(const ClassInfo& info, TLumElement* parent);

 protected:
  TLumElement() = default;
  void setRoot(TLumDB* root) { root_ = root; }
  // Gives the element a handle in the table (and later ones to its
  // children as they are made).
  void registerHandle(ElementTable* table);
  // Children added, removed or reordered: paths that scripts keep look
  // their names up again.
  void noteNamesChanged() {
    if (table_ != nullptr) table_->NoteNamesChanged();
  }
  // A fresh, empty variable list for exInit to fill.
  void resetVariables();
  // Init steps after the initialised flag: the script, then the children.
  void runInit(const char* label, bool again);
  // Puts the Order field back without touching the layer ranges.
  void restoreOrderField(int32_t value) { order_ = value; }
  // Re-assigns every picture and font property so that its setter loads it.
  void reassignResourceProperties();
  // The children's part of drawing: nothing outside the subtree's layer
  // range, else each visible child with the origin moved by rX, rY.
  void drawChildren(int32_t layer, uint32_t tint, double originX, double originY);
  // The children's part of hit-testing, topmost first, in this element's
  // coordinates.
  TLumElement* hitTestChildren(int32_t layer, int32_t x, int32_t y, int32_t margin,
                               int32_t threshold);

  // For the kinds' tables: the five properties every class publishes first
  // (Key, Id, X, Y, Vis), and any other base field a kind republishes, by
  // its published name (Order, Tag, rX, exInit, ...).
  static std::vector<PropertyDef> baseProperties();
  static PropertyDef inherited(std::string_view name);

 private:
  bool resourcesLoaded_ = false;
  bool vis_ = false;
  int32_t order_ = 0;
  int32_t maxOrder_ = 0;
  int32_t minOrder_ = 0;
  // Made when a slot first gets a script (most elements have one or two of
  // the twelve) and kept while the element lives, so that a running
  // script's text stays where it is when the script replaces it.
  std::array<std::unique_ptr<ScriptText>, kEventSlotCount> events_;
  static const ScriptText& NoScript();
  TLumDB* root_ = nullptr;
  // A written text that is a language key ("KEY"), translated.
  ScriptValue translatedForWrite(const ScriptValue& given) const;
  TLumElement* parent_ = nullptr;
  std::vector<std::unique_ptr<TLumElement>> children_;
  ElementScriptFace face_{*this};
  ElementTable* table_ = nullptr;
  // Shared so that a run adding to the list outlives a replacement of it.
  std::shared_ptr<TVarList> vars_;
  // classInfo() kept at its first use, for the names scripts read in loops.
  mutable const ClassInfo* classInfo_ = nullptr;
  bool hasOwnVariables() const { return vars_ && vars_->size() != 0; }
  ElementRef rootRef() const;
  bool GetValueByHandleFully(const ScriptElement::NameHandle& handle, std::string_view name,
                             ScriptValue& out);
  bool SetValueByHandleFully(const ScriptElement::NameHandle& handle, std::string_view name,
                             const ScriptValue& value);
  const ClassInfo& knownClassInfo() const {
    if (classInfo_ == nullptr) classInfo_ = &classInfo();
    return *classInfo_;
  }
};

// Rounds to the nearest integer, halves to even, clamped to the int32 range
// (NaN reads as 0) so that any stored real has an integer view. Inline:
// positions are read in every script loop.
inline int32_t roundToInt32(double value) {
  if (value != value) return 0;  // NaN
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
#if defined(__SSE2__)
  // One conversion in the current rounding mode (by default to the nearest,
  // halves to even): scripts that move an element read back what they
  // wrote on every pass, so this is on the path from one pass to the next.
  return _mm_cvtsd_si32(_mm_set_sd(value));
#else
  // Adding and taking away 1.5 * 2^52 leaves the nearest integer in the
  // default rounding mode (halves to even), as nearbyint does, without a
  // library call.
  constexpr double kShift = 6755399441055744.0;
  return static_cast<int32_t>((value + kShift) - kShift);
#endif
}

inline int32_t TLumElement::X() const { return roundToInt32(rX); }
inline int32_t TLumElement::Y() const { return roundToInt32(rY); }

}  // namespace lum
