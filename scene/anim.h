#pragma once
// Key-frame animations, their keys, and animations placed on a screen.
#include "scene/anim_frames.h"
#include "scene/element.h"

namespace lum {

struct TLumIm;

class TLumAnim : public TLumElement {
 public:
  TLumAnim() { MousedNotVis = true; }
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t SizeX() const override { return sizeX_; }
  int32_t SizeY() const override { return sizeY_; }
  void SetSizeX(int32_t v) override { sizeX_ = v; }
  void SetSizeY(int32_t v) override { sizeY_ = v; }
  std::string ImBack() const;
  // Requests the background; with its texture, the size becomes its frame
  // size.
  void SetImBack(const std::string& name);

  // The current frame. Setting it past the end of the frame table gives
  // frame 0 with Rep, else the last frame; negative values are kept. Until
  // the table is first built the value is only stored, and the build
  // applies it (a game file or saved state is read before any table
  // exists).
  int32_t Pos() const { return pos_; }
  void SetPosition(int32_t value);
  bool Morph() const { return morph_; }
  void SetMorph(bool value);

  // The frame table, built from the keys as they are at the call; never
  // while a game file or saved state is being read.
  void RebuildFrames();
  const AnimFrames& frames() const { return frames_; }
  int32_t frameCount() const { return frames_.count(); }

  // What scripts ask of an animation: start (frame 0, playing, visible, then
  // exStart) and play (resume; from frame 0 when at or past the last frame).
  void Start();
  void Play();
  // Draws frame p with the background, with the animation's origin at
  // (x0, y0); nothing when p is outside the table.
  void DrawFrame(int32_t p, double x0, double y0, uint32_t tint);

  void Init() override;
  void InitPr() override;
  void LoadResources() override;
  void ReloadResources() override;
  void Update() override;
  void Process() override;
  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;
  TLumElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                       int32_t threshold) override;
  bool GetValue(std::string_view name, ScriptValue& out) override;

  uint32_t hxDrawFx = 1;
  int32_t Agro = 0;
  bool Modal = false;
  bool Rep = false;
  bool ShowAn = false;
  bool Active = false;
  double Angle = 0.0;
  bool Interpol = false;
  ScriptText exStop, exStart, exAnim;

 private:
  void drawBackground(double x, double y, uint32_t tint);

  int32_t sizeX_ = 0, sizeY_ = 0;
  int32_t pos_ = 0;
  bool morph_ = false;
  std::string imBack_;
  TLumIm* background_ = nullptr;
  AnimFrames frames_;
  AnimFrame scratch_;  // the frame being drawn or read
};

class TLumAnKey : public TLumElement {
 public:
  TLumAnKey() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  // A key covers Count + 1 frames; setting it rebuilds the animation.
  uint16_t Count() const { return count_; }
  void SetCount(uint16_t value);
  int32_t SizeX() const override { return parent() ? parent()->SizeX() : 0; }
  int32_t SizeY() const override { return parent() ? parent()->SizeY() : 0; }

  bool Morph = false;  // cross-fade pictures that change during this key

 private:
  uint16_t count_ = 0;
};

class TLumExAnim : public TLumElement {
 public:
  TLumExAnim() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t obAnim() const { return obAnim_; }
  void SetObAnim(int32_t key) {
    obAnim_ = key;
    anim_ = nullptr;
  }
  // The animation shown: the root's direct child that is exactly an
  // animation with the key obAnim.
  TLumAnim* shown() const;

  // Like the animation's own: clamped against the shown animation's frame
  // table once that is built.
  int32_t Pos() const { return pos_; }
  void SetPosition(int32_t value);

  int32_t SizeX() const override;
  int32_t SizeY() const override;
  int32_t AbsX() const override;
  int32_t AbsY() const override;
  void LoadResources() override;
  void Process() override;
  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;

  uint8_t PosHor = 0;
  uint8_t PosVert = 0;
  bool Rep = false;
  bool Active = false;

 private:
  // Applies a Pos that was stored before the shown animation had a table.
  void settlePosition();

  int32_t obAnim_ = 0;
  int32_t pos_ = 0;
  bool posUnsettled_ = false;
  mutable TLumAnim* anim_ = nullptr;  // cached lookup of obAnim
};

}  // namespace lum
