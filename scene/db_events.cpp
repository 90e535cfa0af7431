// The root's own events: initialising everything again, keys, typed
// characters and cheat words, the exit event, and screen changes.
#include "media/image_cache.h"
#include "media/sound.h"
#include "platform/wide_escape.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/runtime.h"
#include "scene/screen.h"
#include "scene/text.h"
#include "script/pool.h"

namespace lum {
namespace {

void clearInitialised(TLumElement& e) {
  e.initialised = false;
  for (const auto& c : e.children()) clearInitialised(*c);
}

constexpr size_t kTypedBufferSize = 10;

}  // namespace

void TLumDB::InitPr() {
  clearInitialised(*this);
  Init();
}

void TLumDB::KeyDown(int32_t code) {
  if (runtime_) runtime_->state.input.lastKey = code;
  RunEvent(exKeyDown, "key_Down");
}

void TLumDB::CharInput(uint32_t code) {
  TLumText* text = runtime_ ? runtime_->state.focusedText : nullptr;
  if (!text) {
    typed_.push_back(static_cast<char>(code & 0xFF));
    if (typed_.size() > kTypedBufferSize) typed_.erase(typed_.begin());
    const std::string words = ";" + Cheats + ";";
    for (size_t p = 0; p < typed_.size(); ++p) {
      const std::string w = typed_.substr(p);
      if (words.find(";" + w + ";") == std::string::npos) continue;
      lastCheat_ = w;
      RunEvent(exCheat, "Cheat");
    }
    return;
  }
  std::string t = text->Text();
  if (unicodeMode_) {
    if (code == 8) {
      t.resize(lastWideCharStart(t));
    } else if (code >= 32 && code <= 119) {
      t.push_back(static_cast<char>(code));
    } else if (code >= 128) {
      t.push_back(kWideEscapeByte);
      t.push_back(static_cast<char>(code & 0xFF));
      t.push_back(static_cast<char>((code >> 8) & 0xFF));
    } else {
      return;  // 120 to 127 and other controls are ignored
    }
  } else {
    const uint8_t c = static_cast<uint8_t>(code & 0xFF);
    if (c == 8) {
      if (!t.empty()) t.pop_back();
    } else if (c >= 32 && c != '#' && c != '$') {
      t.push_back(static_cast<char>(c));
    } else {
      return;
    }
  }
  text->SetText(t);
}

void TLumDB::RunExit() { RunEvent(exExit, "Exit"); }

void TLumDB::MarkScreens() {
  for (size_t i = 0; i < childCount(); ++i) {
    TLumElement* c = child(i);
    if (c->className() != TLumScreen::info().name) continue;
    auto* screen = static_cast<TLumScreen*>(c);
    screen->markedForLoading = screen->AllwaysLoad;
    if (screen->AllwaysLoad) screen->LoadResources();
  }
}

void TLumDB::FinishScreenLoad(TLumElement* target) {
  if (!runtime_) return;
  Runtime& rt = *runtime_;
  GameState& st = rt.state;
  ImageCache& images = rt.services.images;
  rt.shell.drawFrameNow(false);
  if (!st.frame.LoadingPhase) return;
  if (st.input.underCursor) {
    TLumElement* old = st.input.underCursor;
    st.input.underCursor = nullptr;
    old->MouseOut();
  }
  st.input.mouseHeld = false;
  images.ImResetRefs();
  ClearLoaded();
  images.ImRequest("particles.bmp", false);
  if (unicodeMode_) unicodeImage_ = images.ImRequest("unicode\\unicode.png", true);
  ++images.ImForLoadCount;
  images.ImForLoadPos = 0;
  st.currentScreen = nullptr;
  for (size_t i = 0; i < childCount(); ++i) {
    if (child(i)->markedForLoading) child(i)->LoadResources();
  }
  st.currentScreen = target;
  rt.services.sound.MusicFadeOut();
  RunEvent(exSetScreen, "SetScreen", KeepVariables::InOwnList);
  if (st.currentScreen) st.currentScreen->Show();
  images.ImFreeUnused();
  rt.shell.resetTimer();
}

void TLumDB::LoadProgressStep() {
  RunEvent(exLoadImProcess, "LIProcess");
  if (runtime_) runtime_->shell.drawFrameNow(true);
}

void TLumDB::AddStar(int32_t pattern, const std::string& colourText, int32_t effect,
                     int32_t layer, const StarMotion& motion) {
  if (!runtime_) return;
  stars_.AddStar(pattern, colourText, effect, layer, motion, runtime_->services.random);
}

bool TLumDB::GetValue(std::string_view name, ScriptValue& out) {
  if (TLumElement::GetValue(name, out)) return true;
  if (!runtime_) return false;
  if (name == "VOLMUZ") {
    out = ScriptValue::Integer(runtime_->services.sound.musicVolume());
  } else if (name == "CHEAT") {
    out = ScriptValue::String(lastCheat_);
  } else if (name == "UNICODE") {
    out = ScriptValue::Boolean(unicodeMode_);
  } else if (name == "VOLSND") {
    out = ScriptValue::Integer(runtime_->services.sound.effectsVolume());
  } else if (name == "FULLSCREEN") {
    out = ScriptValue::Byte(runtime_->state.fullScreenWanted ? 1 : 0);
  } else {
    return false;
  }
  return true;
}

bool TLumDB::SetValue(std::string_view name, const ScriptValue& value) {
  if (TLumElement::SetValue(name, value)) return true;
  if (!runtime_) return false;
  int32_t v = 0;
  if (!ToInt32(value, v)) v = 0;
  if (name == "VOLMUZ") {
    runtime_->services.sound.setMusicVolume(v);
    if (settings_) settings_->setString("Def", "Muz", std::to_string(v));
  } else if (name == "VOLSND") {
    runtime_->services.sound.setEffectsVolume(v);
    if (settings_) settings_->setString("Def", "Snd", std::to_string(v));
  } else if (name == "FULLSCREEN") {
    runtime_->state.fullScreenWanted = v != 0;
    if (settings_) settings_->setString("Def", "FS", v != 0 ? "1" : "0");
  } else {
    return false;
  }
  return true;
}

}  // namespace lum
