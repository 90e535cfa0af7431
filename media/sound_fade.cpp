#include "media/sound_fade.h"

#include <cmath>

namespace lum {
namespace {

// Adding a step n times does not land exactly on the target in binary
// floating point (thirty steps of -1/30 from 1 leave about 2e-16), which
// would cost a fade one extra tick. A level this close counts as arrived.
constexpr double kArrivalSlack = 1e-9;

}  // namespace

void retargetFade(TSound& track, int percent) {
  track.target = percent / 100.0;
  track.step = (track.target - track.level) / kFadeInTicks;
}

void startFadeIn(TSound& track, int percent) {
  track.level = 0.0;
  track.target = percent / 100.0;
  track.step = track.target / kFadeInTicks;
}

void startFadeOut(TSound& track) {
  track.target = 0.0;
  track.step = track.level / -double(kFadeOutTicks);
}

bool advanceFade(TSound& track) {
  track.level += track.step;
  if (track.step > 0 && track.level >= track.target - kArrivalSlack) {
    track.step = 0;
    track.level = track.target;
  } else if (track.step < 0 && track.level <= track.target + kArrivalSlack) {
    track.step = 0;
    track.level = track.target;
    return track.level == 0.0;
  }
  return false;
}

int trackVolume(int musicVolume, double level) {
  // nearbyint rounds halves to even in the default rounding mode.
  return int(std::nearbyint(musicVolume * level));
}

}  // namespace lum
