#pragma once
// A music track and the arithmetic of its fades, kept apart from playback so
// the rules can be checked on their own.
#include <string>

#include "media/audio_device.h"

namespace lum {

inline constexpr int kFadeInTicks = 60;
inline constexpr int kFadeOutTicks = 30;

struct TSound {
  std::string Name;        // upper-cased, as requested
  AudioHandle handle = 0;  // 0 when loading failed
  double level = 0.0;      // loudness factor, 0 to 1
  double step = 0.0;       // change of level per tick; 0 when not fading
  double target = 0.0;     // level the fade is heading for
};

// Aims a playing track at percent / 100, reached in kFadeInTicks ticks.
void retargetFade(TSound& track, int percent);
// Starts a silent track fading in to percent / 100.
void startFadeIn(TSound& track, int percent);
// Aims the track at silence, reached in kFadeOutTicks ticks.
void startFadeOut(TSound& track);
// One tick of a playing track's fade; true when it has faded out to silence
// and must stop.
bool advanceFade(TSound& track);
// The channel volume of a track: round(music volume x level), halves to even.
int trackVolume(int musicVolume, double level);

}  // namespace lum
