// A game's interpreters and a script run without a game register the same
// routines in the same order: the routine table with either kind of body.
#include <gtest/gtest.h>

#include "library/engine/game_routines.h"
#include "library/routine_table.h"
#include "library/without_game.h"
#include "scene/game_host.h"
#include "scene_harness.h"
#include "script/pool.h"

namespace lum {
namespace {

using testing::SceneHarness;

TEST(RoutineRegistration, AGameAndAScriptWithoutOneRegisterTheSameNamesInOrder) {
  SceneHarness game;
  ASSERT_TRUE(game.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "G"}})")) << game.error();
  const TFuncList& inGame = game.host().services().pool.At(0).Functions();

  TFuncList withoutGame;
  BuiltinContext context;
  registerRoutinesWithoutGame(withoutGame, context);

  ASSERT_EQ(inGame.size(), withoutGame.size());
  ASSERT_EQ(inGame.size(), std::size(kRoutines<InGame>));
  for (size_t i = 0; i < inGame.size(); ++i) {
    EXPECT_EQ(inGame[i].Name, withoutGame[i].Name) << i;
    EXPECT_EQ(inGame[i].Shortcut, withoutGame[i].Shortcut) << inGame[i].Name;
  }
  // Every row has a body either way.
  for (size_t i = 0; i < std::size(kRoutines<InGame>); ++i) {
    EXPECT_NE(kRoutines<InGame>[i].routine, nullptr) << kRoutines<InGame>[i].name;
    EXPECT_NE(kRoutines<WithoutGame>[i].routine, nullptr) << kRoutines<WithoutGame>[i].name;
  }
}

}  // namespace
}  // namespace lum
