// Engine commands on a small game: forgiving element arguments, NIL,
// screen changes, stars and element order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/runtime.h"
#include "scene_harness.h"
#include "script/pool.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class EngineCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* game = R"({"class": "TLumDB", "properties": {"Key": 0, "LoadingScreen": 4},
      "children": [
        {"class": "TLumScreen", "properties": {"Key": 1, "Id": "A"},
         "children": [{"class": "TLumImage", "properties": {"Key": 10, "Id": "P"}},
                      {"class": "TLumImage", "properties": {"Key": 11, "Id": "Q"}},
                      {"class": "TLumImage", "properties": {"Key": 12, "Id": "R"}}]},
        {"class": "TLumScreen", "properties": {"Key": 2, "Id": "B", "exShow": "LUMDB.Shows := LUMDB.Shows + 1;"}},
        {"class": "TLumScreen", "properties": {"Key": 3, "Id": "C"}},
        {"class": "TLumScreen", "properties": {"Key": 4, "Id": "Wait", "exInit": "Ready := 1;"}}
      ]})";
    game_.writeGame(game);
    ASSERT_TRUE(game_.start()) << game_.error();
    root_ = &game_.root();
    dir_ = game_.gameFolder();
    root_->Init();
    root_->variables()->AddVar(TVar{"SHOWS", ScriptValue::Integer(0)});
  }
  // Runs a script as an event of the root; false when it stopped on an error.
  bool run(const std::string& source) {
    InterpreterPool& pool = game_.host().services().pool;
    ScriptText script;
    root_->SetScriptText(script, source);
    pool.Environment().eventLabel = "Test";
    return pool.RunEvent(&root_->script(), script.prepared, nullptr) && pool.At(1).ErrorCode() == 0;
  }
  std::string error() { return game_.host().services().pool.At(1).ErrorMessage(); }
  GameState& state() { return game_.state(); }

  testing::SceneHarness game_;
  fs::path dir_;
  TLumDB* root_ = nullptr;
};

TEST_F(EngineCommands, ElementCommandsForgiveNonElementsButNotNil) {
  EXPECT_TRUE(run("Show(5);"));
  EXPECT_TRUE(run("Show(LUMDB.B);"));
  EXPECT_EQ(root_->variables()->records()[0].Value.whole(), 1);
  EXPECT_FALSE(run("Show(NIL);"));
  EXPECT_EQ(error(), "Invalid parameters, function SHOW");
}

TEST_F(EngineCommands, ToFrontMovesToTheEndAndKeepsTheOthersInOrder) {
  TLumElement* a = root_->FindByKey(1);
  EXPECT_TRUE(run("ToFront(LUMDB.A.R);"));  // already last
  EXPECT_EQ(a->child(2)->Key, 12);
  EXPECT_TRUE(run("ToFront(LUMDB.A.P);"));
  EXPECT_EQ(a->child(0)->Key, 11);
  EXPECT_EQ(a->child(1)->Key, 12);
  EXPECT_EQ(a->child(2)->Key, 10);
}

TEST_F(EngineCommands, SetScreenMarksTheTargetAndFurtherScreens) {
  EXPECT_TRUE(run("SetScreen(LUMDB.B, LUMDB.C, 7, 'x');"));
  EXPECT_TRUE(state().frame.LoadingPhase);
  EXPECT_TRUE(state().frame.ImLoadEnabled);
  EXPECT_EQ(state().pendingScreen, root_->FindByKey(2));
  EXPECT_TRUE(root_->FindByKey(2)->markedForLoading);
  EXPECT_TRUE(root_->FindByKey(3)->markedForLoading);
  EXPECT_FALSE(root_->FindByKey(1)->markedForLoading);
  // The loading screen was initialised again.
  ScriptValue ready;
  EXPECT_TRUE(root_->FindByKey(4)->GetValue("READY", ready));
  // Finishing makes the target current and runs its Show.
  EXPECT_TRUE(run("LoadIm(0); EndLoadIm(0);"));
  EXPECT_EQ(state().currentScreen, root_->FindByKey(2));
  EXPECT_FALSE(state().frame.LoadingPhase);
  EXPECT_EQ(root_->variables()->records()[0].Value.whole(), 1);
}

TEST_F(EngineCommands, StarsAreAddedUntilTheTableIsFull) {
  EXPECT_TRUE(run("AddStar(0, 10, 20, 1, 0, -0.5, 1, 0);"));
  EXPECT_EQ(root_->stars().liveCount(), 1u);
  EXPECT_EQ(root_->stars().entries()[0].layer, 1000);
  EXPECT_EQ(root_->stars().entries()[0].effect, 260);
  for (size_t i = 0; i < StarTable::kCapacity; ++i) {
    root_->AddStar(0, "1", 260, 1000, StarMotion{0, 0, 0, 1, 0, 0, 0, 0});
  }
  EXPECT_EQ(root_->stars().liveCount(), StarTable::kCapacity);
  EXPECT_TRUE(run("AddStar(0, 10, 20, 1, 0, -0.5, 1, 0, 2, '255', 5, 260);"));
  EXPECT_FALSE(run("AddStar(0, 10);"));
  root_->stars().UpdateStars();
  root_->stars().UpdateStars();
  EXPECT_EQ(root_->stars().liveCount(), StarTable::kCapacity - 1);  // the first shrank to 0
}

TEST_F(EngineCommands, DelFileStaysInsideTheGameFolder) {
  std::ofstream(dir_ / "old.sav") << "x";
  std::ofstream(dir_.parent_path() / "outside-lumrun.txt") << "x";
  EXPECT_TRUE(run("DelFile('OLD.SAV'); DelFile('..\\\\outside-lumrun.txt');"));
  EXPECT_FALSE(fs::exists(dir_ / "old.sav"));
  EXPECT_TRUE(fs::exists(dir_.parent_path() / "outside-lumrun.txt"));
  fs::remove(dir_.parent_path() / "outside-lumrun.txt");
}

}  // namespace
}  // namespace lum
