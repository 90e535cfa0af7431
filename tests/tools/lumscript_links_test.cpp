// lumscript without a game loads none of the window, graphics and sound
// libraries: they are needed (directly or through others) only by its game
// mode's helper. Asked of the dynamic loader through ldd, so it holds for
// what a start really loads, not for timings.
#include <gtest/gtest.h>

#include <string>

#include "tool_runner.h"

namespace lum::test {
namespace {

const char* const kGameLibraries[] = {"libSDL2", "libopenal", "libGL", "libOpenGL", "libsndfile",
                                      "libfreetype", "libfontconfig", "libX11"};

std::string loadedLibraries(const std::string& program) {
  ToolResult r = runTool("ldd " + test::quoted(std::filesystem::path(program)));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("libc.so"), std::string::npos) << r.out;
  return r.out;
}

TEST(LumscriptLinks, WithoutAGameNoWindowGraphicsOrSoundLibraryIsLoaded) {
  const std::string light = loadedLibraries(lumscriptPath());
  for (const char* library : kGameLibraries) {
    EXPECT_EQ(light.find(library), std::string::npos) << library << "\n" << light;
  }
  // The helper that runs games has them, so the names above are the ones
  // ldd reports.
  const std::string game = loadedLibraries(LUMSCRIPT_GAME_PATH);
  EXPECT_NE(game.find("libSDL2-"), std::string::npos) << game;
  EXPECT_NE(game.find("libopenal.so"), std::string::npos) << game;
  EXPECT_NE(game.find("libsndfile.so"), std::string::npos) << game;
}

}  // namespace
}  // namespace lum::test
