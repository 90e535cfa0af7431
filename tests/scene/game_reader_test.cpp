// Reading game files: the layout, skipped records, defaults, and refusing
// malformed files with a message and an offset.
#include <gtest/gtest.h>

#include "record_builder.h"
#include "scene/db.h"
#include "scene/game_reader.h"
#include "scene/image.h"
#include "scene/screen.h"
#include "scene/text.h"

namespace lum {
namespace {

using test::RecordBuilder;

RecordBuilder screenRecord(int32_t key, const std::string& id, int32_t count = 5) {
  RecordBuilder r;
  r.str("TLumScreen").int32(count);
  test::baseValues(r, key, id, 0, 0, true);
  return r;
}

RecordBuilder imageRecord(int32_t key) {
  RecordBuilder r;
  r.str("TLumImage").int32(5);
  test::baseValues(r, key, "img", 3, 4, true);
  return r;
}

// A full root record: 33 values with the given key and init screen.
RecordBuilder rootRecord(int32_t initScreen) {
  RecordBuilder r;
  r.str("TLumDB").int32(33);
  test::baseValues(r, 0, "game", 0, 0, false);
  r.int32(100).int32(initScreen);
  for (int i = 0; i < 7; ++i) r.str("");  // exVarRS .. exProcess
  r.str("save.dat").str("fonts.asdb").int32(0x1FF).str("eng.lng").str("rus.lng").int32(0);
  r.int32(1).str("").str("game.ini").str("sounds.ini").str("").str("").str("");
  r.int32(64).str("").str("IDDQD;XYZ").int32(1).str("").int32(0);
  return r;
}

TEST(GameReader, FourteenByteFileGivesAnEmptyRootWithDefaults) {
  RecordBuilder r;
  r.str("TLumDB").int32(0);
  ASSERT_EQ(r.bytes().size(), 14u);
  TLumDB root;
  root.Id = "untouched";
  ASSERT_TRUE(root.LoadFromBytes(r.bytes()));
  EXPECT_EQ(root.childCount(), 0u);
  EXPECT_EQ(root.Id, "untouched");
}

TEST(GameReader, RootValuesAndNestedChildren) {
  RecordBuilder screen = screenRecord(7, "Menu");
  screen.child(imageRecord(8));
  RecordBuilder root = rootRecord(7);
  root.child(screen);
  TLumDB db;
  ASSERT_TRUE(db.LoadFromBytes(root.bytes()));
  EXPECT_EQ(db.Id, "game");
  EXPECT_EQ(db.CurKey, 100);
  EXPECT_EQ(db.InitScreen, 7);
  EXPECT_EQ(db.FileRS(), "save.dat");
  EXPECT_EQ(db.hxTransLev, 0xFF);  // truncated to eight bits
  EXPECT_EQ(db.IniFile(), "game.ini");
  EXPECT_EQ(db.MaxMem, 64);
  EXPECT_EQ(db.Cheats, "IDDQD;XYZ");
  EXPECT_TRUE(db.SaveErr);
  EXPECT_TRUE(db.NotSave);
  ASSERT_EQ(db.childCount(), 1u);
  TLumElement* s = db.child(0);
  EXPECT_EQ(s->className(), "TLumScreen");
  EXPECT_EQ(s->Id, "Menu");
  ASSERT_EQ(s->childCount(), 1u);
  EXPECT_EQ(s->child(0)->Key, 8);
  EXPECT_EQ(db.FindByKey(7), s);
}

TEST(GameReader, ShortValueCountsKeepTheConstructorDefaults) {
  RecordBuilder screen = screenRecord(1, "s");
  screen.child(imageRecord(2));
  RecordBuilder root;
  root.str("TLumDB").int32(0).child(screen);
  TLumDB db;
  ASSERT_TRUE(db.LoadFromBytes(root.bytes()));
  auto* image = static_cast<TLumImage*>(db.child(0)->child(0));
  EXPECT_EQ(image->X(), 3);
  EXPECT_EQ(image->Y(), 4);
  EXPECT_EQ(image->hxDrawFx, 1284u);
  EXPECT_DOUBLE_EQ(image->ScaleX, 1.0);
  EXPECT_TRUE(image->Interpol);
}

TEST(GameReader, DisallowedAndMisspelledClassesAreSkippedWithTheirChildren) {
  RecordBuilder text;
  text.str("TLumText").int32(5);
  test::baseValues(text, 50, "stray", 0, 0, true);
  text.child(screenRecord(51, "inside"));
  RecordBuilder wrongCase;
  wrongCase.str("TLumscreen").int32(0);
  RecordBuilder root;
  root.str("TLumDB").int32(0).child(text).child(wrongCase).child(screenRecord(52, "kept"));
  TLumDB db;
  ASSERT_TRUE(db.LoadFromBytes(root.bytes()));
  ASSERT_EQ(db.childCount(), 1u);
  EXPECT_EQ(db.child(0)->Id, "kept");
  EXPECT_EQ(db.FindByKey(51), nullptr);
}

TEST(GameReader, NarrowValuesAreTruncatedToTheirWidth) {
  RecordBuilder text;
  text.str("TLumText").int32(10);
  test::baseValues(text, 3, "t", 0, 0, true);
  text.int32(-1).int32(0x12345678).int32(0x1F0).int32(0).int32(0);
  RecordBuilder screen = screenRecord(2, "s");
  screen.child(text);
  RecordBuilder root;
  root.str("TLumDB").int32(0).child(screen);
  TLumDB db;
  ASSERT_TRUE(db.LoadFromBytes(root.bytes()));
  auto* t = static_cast<TLumText*>(db.child(0)->child(0));
  EXPECT_EQ(t->hxDrawFx, 0xFFFFFFFFu);
  EXPECT_EQ(t->colour1, 0xF0345678u);
}

TEST(GameReader, ScriptTextsAndFloatsAreRead) {
  RecordBuilder image;
  image.str("TLumImage").int32(30);
  test::baseValues(image, 9, "pic", 0, 0, true);
  image.str("Pics\\A.bmp").int32(1).int32(1).int32(2).float64(1.5).float64(90.0);
  image.int32(0xFF).int32(0x10).int32(1);
  for (int i = 0; i < 10; ++i) image.str(i == 6 ? "X := 1;" : "");
  image.int32(1).int32(3).int32(0).int32(4).float64(10.25).float64(-0.5);
  RecordBuilder screen = screenRecord(1, "s");
  screen.child(image);
  RecordBuilder root;
  root.str("TLumDB").int32(0).child(screen);
  TLumDB db;
  ASSERT_TRUE(db.LoadFromBytes(root.bytes()));
  auto* img = static_cast<TLumImage*>(db.child(0)->child(0));
  EXPECT_EQ(img->imImage(), "Pics\\A.bmp");
  EXPECT_EQ(img->PosHor, 1);
  EXPECT_EQ(img->PosVert, 2);
  EXPECT_DOUBLE_EQ(img->Scale(), 1.5);
  EXPECT_DOUBLE_EQ(img->Angle(), 90.0);
  EXPECT_EQ(img->colour, 0x100000FFu);
  EXPECT_TRUE(img->MousedNotVis);
  EXPECT_EQ(img->event(EventSlot::MouseDown).source, "X := 1;");
  EXPECT_EQ(img->Anim, 3);
  EXPECT_EQ(img->Order(), 4);
  EXPECT_DOUBLE_EQ(img->rX, 10.25);
  EXPECT_EQ(img->X(), 10);
  EXPECT_EQ(db.maxOrder(), 4);
}

struct Malformed {
  const char* what;
  std::string bytes;
  const char* message;  // a part of the expected message
};

std::vector<Malformed> malformedFiles() {
  std::vector<Malformed> cases;
  cases.push_back({"empty file", "", "ends inside class name"});
  cases.push_back({"cut inside the value count", RecordBuilder().str("TLumDB").raw("\x01\x00").bytes(),
                   "ends inside value count"});
  cases.push_back({"negative class name length", RecordBuilder().int32(-4).bytes(),
                   "negative length"});
  cases.push_back({"class name past the end", RecordBuilder().int32(1000).raw("TLumDB").bytes(),
                   "runs past the end"});
  cases.push_back({"negative value count", RecordBuilder().str("TLumDB").int32(-1).bytes(),
                   "negative value count"});
  cases.push_back({"value count above the property count",
                   RecordBuilder().str("TLumDB").int32(34).bytes(), "exceeds the 33 properties"});
  cases.push_back({"values cut short", RecordBuilder().str("TLumDB").int32(3).int32(1).str("x").bytes(),
                   "ends inside X"});
  {
    RecordBuilder r;
    r.str("TLumDB").int32(2).int32(0).int32(-7);
    cases.push_back({"negative string value", r.bytes(), "negative length -7 of Id"});
  }
  {
    RecordBuilder r;
    r.str("TLumDB").int32(0).int32(99).raw("abc");
    cases.push_back({"child record past the end", r.bytes(), "child record of 99 bytes"});
  }
  {
    RecordBuilder child;
    child.raw(std::string("\x0A\x00\x00\x00TLum", 8));
    RecordBuilder r;
    r.str("TLumDB").int32(0).child(child);
    cases.push_back({"child class name past its record", r.bytes(), "class name runs past"});
  }
  {
    RecordBuilder screen = screenRecord(1, "s", 23);  // claims 23 values, holds 5
    RecordBuilder r;
    r.str("TLumDB").int32(0).child(screen);
    cases.push_back({"child values cut short", r.bytes(), "ends inside ImBack"});
  }
  {
    // Images inside images, deeper than any game nests.
    RecordBuilder inner = imageRecord(1);
    for (int i = 0; i < kMaxRecordDepth + 5; ++i) {
      RecordBuilder outer = imageRecord(1);
      outer.child(inner);
      inner = outer;
    }
    RecordBuilder screen = screenRecord(1, "s");
    screen.child(inner);
    RecordBuilder r;
    r.str("TLumDB").int32(0).child(screen);
    cases.push_back({"absurd nesting", r.bytes(), "nested deeper"});
  }
  return cases;
}

TEST(GameReader, MalformedFilesAreRefusedWithAMessageAndLeaveNoTree) {
  for (const Malformed& m : malformedFiles()) {
    SCOPED_TRACE(m.what);
    TLumDB db;
    db.CreateChild("TLumScreen");  // whatever was there before is discarded
    Status s = db.LoadFromBytes(m.bytes);
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.error().message.find(m.message), std::string::npos) << s.error().message;
    EXPECT_GE(s.error().offset, 0);
    EXPECT_EQ(db.childCount(), 0u);
  }
}

TEST(GameReader, ErrorsNameTheOffsetOfTheBadValue) {
  RecordBuilder r;
  r.str("TLumDB").int32(2).int32(0).int32(-7);
  Status s = checkGameRecord(r.bytes());
  ASSERT_FALSE(s.ok());
  // Class name (10 bytes), value count (4), Key (4): the Id's length is at 18.
  EXPECT_EQ(s.error().offset, 18);
}

}  // namespace
}  // namespace lum
