// Effect records: read from a file of the game folder and from an archive
// entry, then played for a few updates. The reader and the archive work on
// files, so each input is written to one of each.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/particle_system.h"
#include "platform/game_folder.h"
#include "platform/random.h"
#include "render/archive.h"
#include "render/archive_writer.h"

namespace {

std::filesystem::path scratchFolder() {
  const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::filesystem::path p =
      std::filesystem::path(dir) / ("lumrun-fuzz-particles-" + std::to_string(getpid()));
  std::filesystem::create_directories(p);
  return p;
}

void play(lum::TXParticleSystem& system) {
  system.Start();
  for (int i = 0; i < 4; ++i) {
    system.MoveTo({float(i * 7), float(i * 3)}, i % 2 == 0);
    system.Update(1.0f / 30);
  }
  system.Stop(true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path folder = scratchFolder();
  {
    std::ofstream out(folder / "fx.eff", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  lum::Random random(1);
  lum::GameFolder games(folder);
  lum::TXParticleSystem fromFile(200, random);
  fromFile.LoadFromFile(games, "FX.EFF");
  play(fromFile);

  lum::ArchiveWriter writer;
  writer.add("FX.EFF", 0, {data, size});
  const std::string archivePath = (folder / "fx.asdb").string();
  if (!writer.save(archivePath).ok()) return 0;
  lum::TASDb archive;
  archive.setOpenMode(lum::TOpenModes::opReadOnly);
  archive.setFileName(archivePath);
  lum::TXParticleSystem fromArchive(200, random);
  fromArchive.LoadFromArchive(archive, "fx.eff");
  play(fromArchive);
  return 0;
}
