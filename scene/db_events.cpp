// The root's own events: initialising everything again, keys, typed
// characters and cheat words, the exit event, and screen changes.
#include "media/image_cache.h"
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
  if (runtime_) runtime_->input.lastKey = code;
  RunEvent(exKeyDown, "key_Down");
}

void TLumDB::CharInput(uint32_t code) {
  TLumText* text = runtime_ ? runtime_->focusedText : nullptr;
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
      if (t.size() >= 3 && t[t.size() - 3] == '\x01') {
        t.resize(t.size() - 3);
      } else if (!t.empty()) {
        t.pop_back();
      }
    } else if (code >= 32 && code <= 119) {
      t.push_back(static_cast<char>(code));
    } else if (code >= 128) {
      t.push_back('\x01');
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
  if (rt.renderFrame) rt.renderFrame(false);
  if (!rt.frame.LoadingPhase) return;
  if (rt.input.underCursor) {
    TLumElement* old = rt.input.underCursor;
    rt.input.underCursor = nullptr;
    old->MouseOut();
  }
  rt.input.mouseHeld = false;
  if (rt.images) {
    rt.images->ImResetRefs();
    ClearLoaded();
    rt.images->ImRequest("particles.bmp", false);
    if (rt.folder && unicodeMode_) unicodeImage_ = rt.images->ImRequest("unicode\\unicode.png", true);
    ++rt.images->ImForLoadCount;
    rt.images->ImForLoadPos = 0;
  }
  rt.currentScreen = nullptr;
  for (size_t i = 0; i < childCount(); ++i) {
    if (child(i)->markedForLoading) child(i)->LoadResources();
  }
  rt.currentScreen = target;
  if (rt.fadeOutMusic) rt.fadeOutMusic();
  RunEvent(exSetScreen, "SetScreen", KeepVariables::InOwnList);
  if (rt.currentScreen) rt.currentScreen->Show();
  if (rt.images) rt.images->ImFreeUnused();
  if (rt.resetTimer) rt.resetTimer();
}

void TLumDB::LoadProgressStep() {
  RunEvent(exLoadImProcess, "LIProcess");
  if (runtime_ && runtime_->renderFrame) runtime_->renderFrame(true);
}

void TLumDB::AddStar(int32_t pattern, const std::string& colourText, int32_t effect,
                     int32_t layer, const StarMotion& motion) {
  std::mt19937 fallback{0};
  stars_.AddStar(pattern, colourText, effect, layer, motion, runtime_ ? runtime_->random : fallback);
}

bool TLumDB::GetValue(std::string_view name, ScriptValue& out) {
  if (TLumElement::GetValue(name, out)) return true;
  if (!runtime_) return false;
  if (name == "VOLMUZ") {
    out = ScriptValue::Integer(runtime_->musicVolume);
  } else if (name == "CHEAT") {
    out = ScriptValue::String(lastCheat_);
  } else if (name == "UNICODE") {
    out = ScriptValue::Boolean(unicodeMode_);
  } else if (name == "VOLSND") {
    out = ScriptValue::Integer(runtime_->soundVolume);
  } else if (name == "FULLSCREEN") {
    out = ScriptValue::Byte(runtime_->fullScreenWanted ? 1 : 0);
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
    runtime_->musicVolume = v;
    if (settings_) settings_->setString("Def", "Muz", std::to_string(v));
    if (runtime_->applyMusicVolume) runtime_->applyMusicVolume();
  } else if (name == "VOLSND") {
    runtime_->soundVolume = v;
    if (settings_) settings_->setString("Def", "Snd", std::to_string(v));
  } else if (name == "FULLSCREEN") {
    runtime_->fullScreenWanted = v != 0;
    if (settings_) settings_->setString("Def", "FS", v != 0 ? "1" : "0");
  } else {
    return false;
  }
  return true;
}

}  // namespace lum
