// The JSON authoring form: building game files from it and dumping them back.
#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <sstream>

#include "scene/db.h"
#include "scene/game_json.h"
#include "scene/image.h"
#include "scene/text.h"

namespace lum {
namespace {

OrderedJson parse(const char* text) { return OrderedJson::parse(text); }

TEST(GameJson, DumpOfABuiltTreeGivesTheSameJsonBack) {
  CodePage cp;
  OrderedJson source = parse(R"({
    "class": "TLumDB",
    "properties": {"Key": 0, "Id": "Демо", "InitScreen": 2, "Cheats": "abc;def"},
    "children": [
      {"class": "TLumScreen", "properties": {"Key": 2, "Id": "Menu", "Order": 3},
       "children": [
         {"class": "TLumImage",
          "properties": {"Key": 3, "imImage": "Pics\\A.png", "PosHor": "phCenter",
                         "Scale": 1.25, "hxTrans": 128, "exMouseDown": "SetScreen(LUMDB.Game);"}},
         {"class": "TLumText", "properties": {"Key": 4, "Text": "Привет", "Shadow": true}}
       ]}
    ]})");
  Result<std::string> bytes = gameFileFromJson(source, cp);
  ASSERT_TRUE(bytes.ok()) << bytes.error().text();
  TLumDB db;
  ASSERT_TRUE(db.LoadFromBytes(*bytes));
  OrderedJson dumped = elementToJson(db, cp);
  EXPECT_EQ(dumped["properties"]["Id"], "Демо");
  auto* image = static_cast<TLumImage*>(db.child(0)->child(0));
  EXPECT_EQ(image->PosHor, 1);
  EXPECT_DOUBLE_EQ(image->Scale(), 1.25);
  EXPECT_EQ(image->colour, 0x80FFFFFFu);
  EXPECT_EQ(static_cast<TLumText*>(db.child(0)->child(1))->Text(), "\xCF\xF0\xE8\xE2\xE5\xF2");
  // A complete dump builds into the same bytes and dumps to the same JSON.
  Result<std::string> again = gameFileFromJson(dumped, cp);
  ASSERT_TRUE(again.ok()) << again.error().text();
  TLumDB db2;
  ASSERT_TRUE(db2.LoadFromBytes(*again));
  EXPECT_EQ(elementToJson(db2, cp), dumped);
  Result<std::string> third = gameFileFromJson(elementToJson(db2, cp), cp);
  EXPECT_EQ(*third, *again);
}

// `lumf dump` writes the tree as it goes; the text must be the library's
// pretty print of the same tree, escapes, numbers and empty lists included.
TEST(GameJson, StreamedDumpIsThePrettyPrintOfTheTree) {
  CodePage cp;
  Result<std::string> bytes = gameFileFromJson(parse(R"({
    "class": "TLumDB",
    "properties": {"Key": -7, "Id": "q\"uote back\\slash\ttab\u0001\u001f\u007f Демо"},
    "children": [
      {"class": "TLumScreen", "properties": {"Key": 2, "Id": "", "Order": -3},
       "children": [
         {"class": "TLumImage", "properties": {"Key": 3, "PosHor": "phCenter", "Scale": 0.1,
                                               "exMouseDown": "A := 'x\r\ny';"}},
         {"class": "TLumText", "properties": {"Key": 4, "Text": "Привет", "Shadow": true}}]},
      {"class": "TLumScreen", "properties": {"Key": 5}}]})"),
                                               cp);
  ASSERT_TRUE(bytes.ok()) << bytes.error().text();
  TLumDB db;
  ASSERT_TRUE(db.LoadFromBytes(*bytes));
  // An enumeration value without a name, and a real that JSON cannot hold.
  auto* image = static_cast<TLumImage*>(db.child(0)->child(0));
  image->PosHor = 99;
  image->ScaleX = std::numeric_limits<double>::infinity();
  std::ostringstream library, streamed;
  library << std::setw(2) << elementToJson(db, cp);
  writeElementJson(streamed, db, cp);
  EXPECT_EQ(streamed.str(), library.str());
  EXPECT_NE(library.str().find("\\u001f"), std::string::npos);
  EXPECT_NE(library.str().find("\"children\": []"), std::string::npos);
  EXPECT_NE(library.str().find("\"ScaleX\": null"), std::string::npos);
  EXPECT_NE(library.str().find("\"PosHor\": 99"), std::string::npos);
}

TEST(GameJson, ValueCountCoversTheLastGivenProperty) {
  CodePage cp;
  Result<std::string> bytes = gameFileFromJson(parse(R"({"class": "TLumDB",
      "properties": {"Id": "x"}})"),
                                               cp);
  ASSERT_TRUE(bytes.ok());
  // "TLumDB" (10 bytes), then the count: Key and Id, so two values.
  EXPECT_EQ(static_cast<uint8_t>((*bytes)[10]), 2);
  Result<std::string> none = gameFileFromJson(parse(R"({"class": "TLumDB"})"), cp);
  ASSERT_TRUE(none.ok());
  EXPECT_EQ(none->size(), 14u);
}

TEST(GameJson, BadJsonIsRefusedWithTheReason) {
  CodePage cp;
  struct Case {
    const char* json;
    const char* message;
  } cases[] = {
      {R"({"properties": {}})", "needs a \"class\""},
      {R"({"class": "TLumDB", "properties": {"Nope": 1}})", "unknown property Nope"},
      {R"({"class": "TLumDB", "properties": {"Id": 5}})", "expected a string"},
      {R"({"class": "TLumDB", "properties": {"Key": "x"}})", "unknown value name"},
      {R"({"class": "TLumDB", "properties": {"Key": 99999999999}})", "32-bit"},
      {R"({"class": "TLumDB", "children": [{"class": "TLumScreen",
           "properties": {"ImBack": 1.5}}]})", "TLumScreen.ImBack"},
      {R"({"class": "Unknown", "properties": {"Key": 1}})", "unknown class"},
      {R"({"class": "TLumDB", "children": {}})", "must be an array"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    Result<std::string> r = gameFileFromJson(parse(c.json), cp);
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().message.find(c.message), std::string::npos) << r.error().message;
  }
}

TEST(GameJson, UnknownClassesCanBeWrittenForSkippingTests) {
  CodePage cp;
  Result<std::string> bytes = gameFileFromJson(parse(R"({"class": "TLumDB", "children": [
      {"class": "TLumMystery", "children": [{"class": "TLumScreen"}]},
      {"class": "TLumScreen", "properties": {"Id": "real"}}]})"),
                                               cp);
  ASSERT_TRUE(bytes.ok());
  TLumDB db;
  ASSERT_TRUE(db.LoadFromBytes(*bytes));
  ASSERT_EQ(db.childCount(), 1u);
  EXPECT_EQ(db.child(0)->Id, "real");
}

}  // namespace
}  // namespace lum
