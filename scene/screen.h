#pragma once
// Screens, and screens embedded in other elements.
#include "scene/element.h"

namespace lum {

struct TLumIm;
class TLumExScreen;

// Marks an embedding element as forwarding for as long as it lives.
class ForwardGuard {
 public:
  explicit ForwardGuard(TLumExScreen& e);
  ~ForwardGuard();
  ForwardGuard(const ForwardGuard&) = delete;
  ForwardGuard& operator=(const ForwardGuard&) = delete;

 private:
  TLumExScreen& e_;
  bool was_;
};

class TLumScreen : public TLumElement {
 public:
  TLumScreen();
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t SizeX() const override { return sizeX_; }
  int32_t SizeY() const override { return sizeY_; }
  void SetSizeX(int32_t v) override { sizeX_ = v; }
  void SetSizeY(int32_t v) override { sizeY_ = v; }
  std::string ImBack() const;
  void SetImBack(const std::string& name);
  TLumIm* background() const { return background_; }

  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;
  TLumElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                       int32_t threshold) override;

  uint32_t hxDrawFx = 1;
  int32_t Agro = 0;
  bool Modal = false;
  bool AllwaysLoad = false;

 private:
  int32_t sizeX_ = 0, sizeY_ = 0;
  std::string imBack_;
  TLumIm* background_ = nullptr;
};

class TLumExScreen : public TLumElement {
 public:
  TLumExScreen() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t obScreen() const { return obScreen_; }
  void SetObScreen(int32_t key) {
    obScreen_ = key;
    screen_ = nullptr;
  }
  // The embedded screen, looked up by key when not cached.
  TLumScreen* embedded();

  void Init() override;
  void InitPr() override;
  void LoadResources() override;
  void ReloadResources() override;
  void Update() override;
  void Show() override;
  void Process() override;
  void SetVis(bool value) override;

  int32_t SizeX() const override;
  int32_t SizeY() const override;
  int32_t AbsX() const override;
  int32_t AbsY() const override;
  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;
  TLumElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                       int32_t threshold) override;

  uint8_t PosHor = 0;
  uint8_t PosVert = 0;
  bool Modal = false;
  bool Processing = true;

 private:
  int32_t left() const;  // the anchored X, without the parent's part
  int32_t top() const;

  // The embedded screen unless this element is already forwarding to it:
  // screens that embed each other (or their own ancestor) are followed
  // once, not for ever.
  TLumScreen* forwardTarget();
  // A screen that holds this element is never embedded in it.
  bool isAncestor(const TLumElement* e) const;
  friend class ForwardGuard;

  int32_t obScreen_ = 0;
  TLumScreen* screen_ = nullptr;  // cached lookup of obScreen
  bool forwarding_ = false;
};

}  // namespace lum
