// lumf and lumrun --info from the command line: round trips through JSON,
// outlines, and clear refusals of malformed game files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "tool_runner.h"

namespace lum::test {
namespace {

const char* kGame = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Игра", "InitScreen": 1},
  "children": [
    {"class": "TLumScreen", "properties": {"Key": 1, "Id": "Menu"},
     "children": [{"class": "TLumText", "properties": {"Key": 2, "Id": "T", "Order": 4,
                    "Text": "Привет, мир"}}]},
    {"class": "TLumAnim", "properties": {"Key": 3, "Id": "Walk"},
     "children": [{"class": "TLumAnKey", "properties": {"Key": 4, "Count": 3}}]}
  ]})";

TEST(LumfTool, BuildDumpBuildRoundTrips) {
  auto dir = scratchFolder("lumf-roundtrip");
  writeFile(dir / "game.json", kGame);
  ToolResult built = runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                             quoted(dir / "game.lumf"));
  ASSERT_EQ(built.status, 0) << built.out;
  ToolResult dumped = runTool(lumfPath() + " dump " + quoted(dir / "game.lumf"));
  ASSERT_EQ(dumped.status, 0) << dumped.out;
  auto json = nlohmann::ordered_json::parse(dumped.out);
  EXPECT_EQ(json["properties"]["Id"], "Игра");
  EXPECT_EQ(json["children"][0]["children"][0]["properties"]["Text"], "Привет, мир");
  EXPECT_EQ(json["children"][1]["children"][0]["properties"]["Count"], 3);

  writeFile(dir / "again.json", dumped.out);
  ASSERT_EQ(runTool(lumfPath() + " build " + quoted(dir / "again.json") + " -o " +
                    quoted(dir / "again.lumf"))
                .status,
            0);
  ToolResult redumped = runTool(lumfPath() + " dump " + quoted(dir / "again.lumf"));
  EXPECT_EQ(redumped.out, dumped.out);
  std::filesystem::remove_all(dir);
}

TEST(LumfTool, TreeAndInfoPrintTheOutline) {
  auto dir = scratchFolder("lumf-tree");
  writeFile(dir / "game.json", kGame);
  ASSERT_EQ(runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                    quoted(dir / "game.lumf"))
                .status,
            0);
  ToolResult tree = runTool(lumfPath() + " tree " + quoted(dir / "game.lumf"));
  ASSERT_EQ(tree.status, 0);
  EXPECT_NE(tree.out.find("TLumDB Key=0 Id=Игра Order=0\n  TLumScreen Key=1 Id=Menu Order=0\n"
                          "    TLumText Key=2 Id=T Order=4\n"),
            std::string::npos)
      << tree.out;
  ToolResult info = runTool(lumrunPath() + " --info " + quoted(dir));
  ASSERT_EQ(info.status, 0) << info.out;
  EXPECT_NE(info.out.find("TLumAnKey 1"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("TLumScreen 1"), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(LumfTool, MalformedGameFilesExitWithStatusTwoAndAMessage) {
  auto dir = scratchFolder("lumf-bad");
  writeFile(dir / "game.json", kGame);
  ASSERT_EQ(runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                    quoted(dir / "good.lumf"))
                .status,
            0);
  std::string good = readFile(dir / "good.lumf");
  // Cut the file at every length: each prefix is either a valid file or
  // refused with a message.
  for (size_t cut : {size_t{0}, size_t{3}, size_t{13}, good.size() / 2, good.size() - 1}) {
    SCOPED_TRACE(cut);
    writeFile(dir / "bad.lumf", good.substr(0, cut));
    ToolResult dumped = runTool(lumfPath() + " dump " + quoted(dir / "bad.lumf"));
    EXPECT_EQ(dumped.status, 2) << dumped.out;
    EXPECT_NE(dumped.out.find("at byte"), std::string::npos) << dumped.out;
    ToolResult info = runTool(lumrunPath() + " --info " + quoted(dir / "bad.lumf"));
    EXPECT_EQ(info.status, 2) << info.out;
    EXPECT_NE(info.out.find("cannot load the game"), std::string::npos) << info.out;
  }
  EXPECT_EQ(runTool(lumfPath() + " dump " + quoted(dir / "missing.lumf")).status, 2);
  EXPECT_EQ(runTool(lumfPath() + " frobnicate").status, 2);
  EXPECT_EQ(runTool(lumrunPath() + " --no-such-option").status, 2);
  writeFile(dir / "broken.json", "{\"class\": ");
  EXPECT_EQ(runTool(lumfPath() + " build " + quoted(dir / "broken.json") + " -o " +
                    quoted(dir / "x.lumf"))
                .status,
            2);
  std::filesystem::remove_all(dir);
}

TEST(LumfTool, ArchiveFailuresExitWithStatusTwoAndAMessage) {
  auto dir = scratchFolder("lumf-archive");
  const std::string lumf = lumfPath() + " archive ";
  writeFile(dir / "note.txt", "archived bytes");
  ASSERT_EQ(runTool(lumf + "pack " + quoted(dir / "a.asdb") + " " + quoted(dir / "note.txt")).status, 0);
  ToolResult listed = runTool(lumf + "list " + quoted(dir / "a.asdb"));
  ASSERT_EQ(listed.status, 0) << listed.out;
  const std::string key = listed.out.substr(0, listed.out.find(' '));
  ToolResult extracted = runTool(lumf + "extract " + quoted(dir / "a.asdb") + " '" + key + "' -o " +
                                 quoted(dir / "out.txt"));
  ASSERT_EQ(extracted.status, 0) << extracted.out;
  EXPECT_EQ(readFile(dir / "out.txt"), "archived bytes");

  writeFile(dir / "damaged.asdb", "ASDb\xff\xff\xff\x7f\x0c\x00\x00\x00garbage");
  const std::vector<std::pair<std::string, std::string>> failures = {
      {"list " + quoted(dir / "missing.asdb"), "cannot read the archive"},
      {"extract " + quoted(dir / "missing.asdb") + " '" + key + "' -o " + quoted(dir / "x"),
       "cannot read the archive"},
      {"extract " + quoted(dir / "damaged.asdb") + " '" + key + "' -o " + quoted(dir / "x"),
       "cannot read"},
      {"extract " + quoted(dir / "a.asdb") + " no-such-key -o " + quoted(dir / "x"),
       "cannot read no-such-key"},
      {"extract " + quoted(dir / "a.asdb") + " '" + key + "' -o " + quoted(dir / "no" / "x"),
       "cannot write"}};
  for (const auto& [command, message] : failures) {
    ToolResult r = runTool(lumf + command);
    EXPECT_EQ(r.status, 2) << command << "\n" << r.out;
    EXPECT_NE(r.out.find("lumf: " + message), std::string::npos) << command << "\n" << r.out;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
