// The element tree: layer ranges, positions, containment and lookups.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/db.h"
#include "scene/image.h"
#include "scene/screen.h"
#include "scene/text.h"

namespace lum {
namespace {

TEST(ElementTree, OrderRangesWidenUpTheTreeAndNeverShrink) {
  TLumDB root;
  TLumElement* screen = root.CreateChild("TLumScreen");
  ASSERT_NE(screen, nullptr);
  TLumElement* a = screen->CreateChild("TLumImage");
  TLumElement* b = screen->CreateChild("TLumImage");
  a->SetOrder(5);
  EXPECT_EQ(root.minOrder(), 0);
  EXPECT_EQ(root.maxOrder(), 5);
  b->SetOrder(-3);
  EXPECT_EQ(root.minOrder(), -3);
  EXPECT_EQ(root.maxOrder(), 5);
  EXPECT_EQ(screen->minOrder(), -3);
  // Lowering an order again leaves every range as wide as it was.
  a->SetOrder(1);
  EXPECT_EQ(a->maxOrder(), 5);
  EXPECT_EQ(root.maxOrder(), 5);
  // The range of a leaf always includes layer 0.
  TLumElement* c = screen->CreateChild("TLumImage");
  c->SetOrder(7);
  EXPECT_EQ(c->minOrder(), 0);
  EXPECT_EQ(c->maxOrder(), 7);
}

TEST(ElementTree, IntegerPositionsRoundHalvesToEven) {
  TLumDB root;
  TLumElement* screen = root.CreateChild("TLumScreen");
  screen->rX = 2.5;
  EXPECT_EQ(screen->X(), 2);
  screen->rX = 3.5;
  EXPECT_EQ(screen->X(), 4);
  screen->rY = -2.5;
  EXPECT_EQ(screen->Y(), -2);
  // Reals beyond the integer range still have an integer view.
  screen->rX = 1e300;
  EXPECT_EQ(screen->X(), INT32_MAX);
  screen->rX = std::nan("");
  EXPECT_EQ(screen->X(), 0);
  screen->SetX(7);
  EXPECT_DOUBLE_EQ(screen->rX, 7.0);
}

TEST(ElementTree, AbsolutePositionAddsTheParents) {
  TLumDB root;
  root.SetX(1);
  TLumElement* screen = root.CreateChild("TLumScreen");
  screen->SetPos(10, 20);
  TLumElement* image = screen->CreateChild("TLumImage");
  image->SetPos(3, 4);
  EXPECT_EQ(image->AbsX(), 14);
  EXPECT_EQ(image->AbsY(), 24);
}

TEST(ElementTree, ContainmentRulesAndExactClassNames) {
  TLumDB root;
  EXPECT_EQ(root.CreateChild("TLumText"), nullptr);   // texts only under screens and pictures
  EXPECT_EQ(root.CreateChild("tlumscreen"), nullptr); // class names keep their case
  EXPECT_EQ(root.CreateChild("TLumDB"), nullptr);
  EXPECT_EQ(root.CreateChild("TLumElement"), nullptr);
  TLumElement* screen = root.CreateChild("TLumScreen");
  ASSERT_NE(screen, nullptr);
  TLumElement* text = screen->CreateChild("TLumText");
  ASSERT_NE(text, nullptr);
  EXPECT_NE(text->CreateChild("TLumText"), nullptr);
  EXPECT_EQ(text->CreateChild("TLumImage"), nullptr);
  TLumElement* anim = root.CreateChild("TLumAnim");
  ASSERT_NE(anim, nullptr);
  TLumElement* key = anim->CreateChild("TLumAnKey");
  ASSERT_NE(key, nullptr);
  EXPECT_NE(key->CreateChild("TLumImage"), nullptr);
  EXPECT_EQ(key->CreateChild("TLumShape"), nullptr);
  EXPECT_EQ(screen->CreateChild("TLumExScreen")->CreateChild("TLumImage"), nullptr);
}

TEST(ElementTree, NewChildrenAreVisibleAndHitTestableButARootIsNot) {
  TLumDB root;
  EXPECT_FALSE(root.Vis());
  EXPECT_FALSE(root.MousedVis);
  EXPECT_TRUE(root.AutoInit);
  EXPECT_EQ(root.root(), &root);
  TLumElement* screen = root.CreateChild("TLumScreen");
  EXPECT_TRUE(screen->Vis());
  EXPECT_TRUE(screen->MousedVis);
  EXPECT_TRUE(screen->MousedNotVis);  // a screen's own default
  EXPECT_EQ(screen->root(), &root);
  EXPECT_EQ(screen->parent(), &root);
  auto* image = static_cast<TLumImage*>(screen->CreateChild("TLumImage"));
  EXPECT_EQ(image->hxDrawFx, 1284u);
  EXPECT_DOUBLE_EQ(image->Scale(), 1.0);
  EXPECT_EQ(image->colour, 0xFFFFFFFFu);
  EXPECT_FALSE(image->MousedNotVis);
  EXPECT_TRUE(root.CreateChild("TLumScreen")->CreateChild("TLumImList")->NoMsLumDB);
}

TEST(ElementTree, FindChildByIdIgnoresCaseAndTakesTheFirst) {
  TLumDB root;
  TLumElement* first = root.CreateChild("TLumScreen");
  TLumElement* second = root.CreateChild("TLumScreen");
  first->Id = "Menu";
  second->Id = "MENU";
  EXPECT_EQ(root.FindChildById("menu"), first);
  EXPECT_EQ(root.FindChildById("nothing"), nullptr);
}

TEST(ElementTree, FindByKeySearchesDepthFirstAndGivesTheNextSiblingAsHint) {
  TLumDB root;
  root.Key = 0;
  TLumElement* s1 = root.CreateChild("TLumScreen");
  s1->Key = 1;
  TLumElement* img = s1->CreateChild("TLumImage");
  img->Key = 2;
  TLumElement* s2 = root.CreateChild("TLumScreen");
  s2->Key = 3;
  TLumElement* hint = nullptr;
  EXPECT_EQ(root.FindByKey(2, &hint), img);
  // The innermost level that had a next sibling sets the hint: the image is
  // the last child of s1, so the hint is s1's successor.
  EXPECT_EQ(hint, s2);
  hint = nullptr;
  EXPECT_EQ(root.FindByKey(3, &hint), s2);
  EXPECT_EQ(hint, nullptr);  // s2 is the last child
  EXPECT_EQ(root.FindByKey(99), nullptr);
  EXPECT_EQ(root.FindByKey(0), &root);
}

TEST(ElementTree, DestroyChildKeepsTheOrderOfTheOthers) {
  TLumDB root;
  TLumElement* a = root.CreateChild("TLumScreen");
  TLumElement* b = root.CreateChild("TLumScreen");
  TLumElement* c = root.CreateChild("TLumScreen");
  b->CreateChild("TLumImage");
  root.DestroyChild(b);
  ASSERT_EQ(root.childCount(), 2u);
  EXPECT_EQ(root.child(0), a);
  EXPECT_EQ(root.child(1), c);
}

TEST(ElementTree, ColourAndTransparencyShareOneWord) {
  TLumDB root;
  auto* image = static_cast<TLumImage*>(root.CreateChild("TLumScreen")->CreateChild("TLumImage"));
  const ClassInfo& info = image->classInfo();
  const PropertyDef& colour = info.properties[info.findProperty("hxColor")];
  const PropertyDef& trans = info.properties[info.findProperty("HXTRANS")];
  trans.set(*image, PropertyValue(int64_t{0x80}));
  colour.set(*image, PropertyValue(int64_t{0x123456}));
  EXPECT_EQ(image->colour, 0x80123456u);
  EXPECT_EQ(ordinalOf(trans.get(*image)), 0x80);
  EXPECT_EQ(ordinalOf(colour.get(*image)), 0x123456);
}

TEST(ElementTree, LoadResourcesMarksTheSubtreeAndClearLoadedUndoesIt) {
  TLumDB root;
  TLumElement* screen = root.CreateChild("TLumScreen");
  auto* image = static_cast<TLumImage*>(screen->CreateChild("TLumImage"));
  image->SetimImage("Pics\\a.png");
  EXPECT_FALSE(image->resourcesLoaded());
  // Drawing loads what has not been loaded, even outside the layer range.
  root.Draw(42, 0xFFFFFFFFu, 0, 0);
  EXPECT_TRUE(image->resourcesLoaded());
  EXPECT_EQ(image->imImage(), "Pics\\a.png");  // re-assigned, not lost
  root.ClearLoaded();
  EXPECT_FALSE(screen->resourcesLoaded());
  EXPECT_FALSE(image->resourcesLoaded());
}

}  // namespace
}  // namespace lum

namespace lum {
namespace {

// Real positions read as integers: nearest, halves to even, clamped, NaN 0;
// the same answers as nearbyint over the whole range.
TEST(ElementPositions, RoundingToInt32) {
  EXPECT_EQ(roundToInt32(0.5), 0);
  EXPECT_EQ(roundToInt32(1.5), 2);
  EXPECT_EQ(roundToInt32(2.5), 2);
  EXPECT_EQ(roundToInt32(-0.5), 0);
  EXPECT_EQ(roundToInt32(-1.5), -2);
  EXPECT_EQ(roundToInt32(-2.6), -3);
  EXPECT_EQ(roundToInt32(2147483646.5), 2147483646);
  EXPECT_EQ(roundToInt32(2147483646.6), INT32_MAX);
  EXPECT_EQ(roundToInt32(-2147483648.4), INT32_MIN);
  EXPECT_EQ(roundToInt32(-2147483647.6), INT32_MIN);
  EXPECT_EQ(roundToInt32(1e300), INT32_MAX);
  EXPECT_EQ(roundToInt32(-std::numeric_limits<double>::infinity()), INT32_MIN);
  EXPECT_EQ(roundToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
  uint64_t state = 88172645463325252ull;
  for (int i = 0; i < 100000; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    const double scale = (i % 3 == 0) ? 4.0 : (i % 3 == 1) ? 70000.0 : 3e9;
    double x = (static_cast<double>(state % 2000001) / 1000000.0 - 1.0) * scale;
    if (i % 5 == 0) x = std::floor(x) + 0.5;  // halves
    const double r = std::nearbyint(x);
    const int32_t expected = r >= 2147483647.0 ? INT32_MAX : r <= -2147483648.0 ? INT32_MIN
                                                                              : static_cast<int32_t>(r);
    ASSERT_EQ(roundToInt32(x), expected) << x;
  }
}

}  // namespace
}  // namespace lum
