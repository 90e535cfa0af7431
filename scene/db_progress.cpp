// Saving and loading the player's progress on the root.
#include <cerrno>

#include "platform/file_ops.h"
#include "scene/db.h"
#include "scene/progress_state.h"
#include "scene/runtime.h"

namespace lum {
namespace {

// Far beyond any saved game; a larger file is not read at all.
constexpr std::uintmax_t kMaxProgressBytes = 64u << 20;

}  // namespace

std::filesystem::path TLumDB::progressBackup() const {
  if (progressFile_.empty()) return {};
  std::filesystem::path backup = progressFile_;
  backup += ".bak";
  return backup;
}

void TLumDB::SaveState() {
  if (!runtime_ || progressFile_.empty()) return;
  // Written beside the old file and renamed over it: a crash mid-save leaves
  // the old progress (or the backup), never a cut file. A failed write is
  // silent, as file problems of the root are; the old progress stays.
  (void)writeFileKeepingBackup(progressFile_, progressBackup(), WriteProgress(*this));
  runtime_->shell.resetTimer();
}

void TLumDB::LoadState() {
  if (!runtime_ || progressFile_.empty()) return;
  std::string bytes;
  std::error_code ec;
  const bool mainMissing = !std::filesystem::exists(progressFile_, ec) && !ec;
  if (Result<std::string> read =
          readFileBytes(mainMissing ? progressBackup() : progressFile_, kMaxProgressBytes)) {
    bytes = std::move(*read);
  }
  GameState& state = runtime_->state;
  state.frame.ImLoadEnabled = false;
  state.readingData = true;
  ApplyProgress(*this, bytes);
  state.frame.ImLoadEnabled = true;
  AfterLoad();
  runtime_->shell.resetTimer();
  state.readingData = false;
}

}  // namespace lum
