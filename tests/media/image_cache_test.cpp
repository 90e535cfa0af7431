// The image cache: keys, deferred loading, frame layouts, alpha pairs, the
// archive as a second source, and releasing textures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../render/picture_test_files.h"
#include "media/image_cache.h"
#include "platform/game_folder.h"
#include "render/archive.h"
#include "render/archive_writer.h"
#include "render/render_stack.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class ImageCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lumrun-imcache-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "Pics");
    BackendOptions options;
    options.headless = true;
    auto made = makeRenderStack("soft", options);
    ASSERT_TRUE(made.ok()) << made.error().text();
    stack_ = std::move(made.value());
    ASSERT_TRUE(stack_->device.Initialize());
    folder_ = std::make_unique<GameFolder>(dir_);
  }
  void TearDown() override {
    cache_.reset();
    stack_.reset();
    fs::remove_all(dir_);
  }
  ImageCache& cache(TASDb* archive = nullptr) {
    if (!cache_) cache_ = std::make_unique<ImageCache>(stack_->images, *folder_, archive, frame_);
    return *cache_;
  }
  void write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    folder_->invalidate();
  }
  void writeText(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name) << text;
    folder_->invalidate();
  }
  static std::vector<uint8_t> png(int w, int h, uint32_t argb) {
    return test::makePng(w, h, std::vector<uint32_t>(size_t(w) * h, argb), PNG_FORMAT_BGRA);
  }

  fs::path dir_;
  std::unique_ptr<RenderStack> stack_;
  std::unique_ptr<GameFolder> folder_;
  FrameState frame_;
  std::unique_ptr<ImageCache> cache_;
};

TEST_F(ImageCacheTest, NamesDifferingInCaseShareOneEntry) {
  write("Pics/a.png", png(4, 4, 0xFF00FF00));
  TLumIm* first = cache().ImRequest("Pics\\A.png", false);
  TLumIm* second = cache().ImRequest("PICS\\a.PNG", false);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first->RefCount, 2);
  EXPECT_EQ(first->Name, "PICS\\A.PNG");
  ASSERT_NE(first->Texture, nullptr);
  EXPECT_EQ(first->MemSize, 64u);
  EXPECT_EQ(cache().ImMemTotal, 64u);
  EXPECT_EQ(cache().ImForLoadPos, 1);
}

TEST_F(ImageCacheTest, MissingPicturesFailOnceAndForAll) {
  TLumIm* e = cache().ImRequest("Pics\\none.png", false);
  EXPECT_TRUE(e->Failed);
  EXPECT_EQ(e->Texture, nullptr);
  EXPECT_EQ(stack_->images.Count(), 0);
  write("Pics/none.png", png(2, 2, 0xFFFFFFFF));
  cache().ImRequest("Pics\\none.png", false);
  EXPECT_EQ(e->Texture, nullptr);  // never tried again
  EXPECT_EQ(cache().ImTexture(e), nullptr);
}

TEST_F(ImageCacheTest, CountsFileCutsThePictureIntoFrames) {
  write("Pics/sheet.png", png(256, 64, 0xFF112233));
  writeText("Pics/sheet.an", "4\n2\n");
  TLumIm* e = cache().ImRequest("Pics\\sheet.png", false);
  ASSERT_NE(e->Texture, nullptr);
  EXPECT_EQ(e->Texture->PatternSize().width, 64);
  EXPECT_EQ(e->Texture->PatternSize().height, 32);
  EXPECT_EQ(e->Texture->PatternCount(), 8);
  EXPECT_EQ(e->Texture->TextureSize().width, 66);
  EXPECT_EQ(e->Texture->TextureSize().height, 34);
  // A zero in the counts file means one; absurd counts fail instead of
  // building empty frames.
  write("Pics/zero.png", png(10, 10, 0xFF000000));
  writeText("Pics/zero.an", "0\n0\n");
  EXPECT_EQ(cache().ImRequest("Pics\\zero.png", false)->Texture->PatternCount(), 1);
  write("Pics/huge.png", png(10, 10, 0xFF000000));
  writeText("Pics/huge.an", "100000\n100000\n");
  EXPECT_TRUE(cache().ImRequest("Pics\\huge.png", false)->Failed);
}

TEST_F(ImageCacheTest, DeferredRequestsAreCountedOnceAndKeptOnesLoadAnyway) {
  write("Pics/a.png", png(4, 4, 0xFFFFFFFF));
  write("Pics/b.png", png(4, 4, 0xFFFFFFFF));
  frame_.ImLoadEnabled = false;
  TLumIm* a = cache().ImRequest("Pics\\a.png", false);
  cache().ImRequest("Pics\\a.png", false);
  EXPECT_EQ(cache().ImForLoadCount, 1);
  EXPECT_EQ(a->Texture, nullptr);
  TLumIm* b = cache().ImRequest("Pics\\b.png", true);
  EXPECT_NE(b->Texture, nullptr);
  EXPECT_EQ(cache().ImForLoadCount, 1);
  frame_.ImLoadEnabled = true;
  cache().ImRequest("Pics\\a.png", false);
  EXPECT_NE(a->Texture, nullptr);
}

TEST_F(ImageCacheTest, StarredRequestsTurnAlphaIntoGrey) {
  std::vector<uint32_t> pixels{0x80FF0000, 0x00FFFFFF, 0xFF000000, 0x40123456};
  write("spark.bmp", test::makeTrueColourBmp(2, 2, pixels, true));
  TLumIm* plain = cache().ImRequest("spark.bmp", false);
  TLumIm* grey = cache().ImRequest("*SPARK.BMP", false);
  EXPECT_NE(plain, grey);
  EXPECT_EQ(grey->Name, "*SPARK.BMP");
  ASSERT_NE(grey->Texture, nullptr);
  EXPECT_EQ(grey->Texture->Name, "SPARK.BMP");
  EXPECT_EQ(grey->Texture->GetPixel(0, 0, 0), 0x80808080u);
  EXPECT_EQ(grey->Texture->GetPixel(0, 1, 0), 0x00000000u);
  EXPECT_EQ(grey->Texture->GetPixel(0, 0, 1), 0xFFFFFFFFu);
  EXPECT_EQ(plain->Texture->GetPixel(0, 0, 0), 0x800000FFu);  // canvas order: red low
}

TEST_F(ImageCacheTest, JpegColourTakesItsAlphaFromTheBitmapMask) {
  // SPARK.BMP (8-bit: index = x + 4y) with SPARK_.jpg beside it.
  write("Pics/SPARK.BMP", test::makeIndexedBmp(4, 4));
  write("Pics/SPARK_.jpg", test::makeJpeg(4, 4, 0xFFFFFFFF));
  TLumIm* e = cache().ImRequest("Pics\\spark.bmp", false);
  ASSERT_NE(e->Texture, nullptr);
  EXPECT_EQ(e->Texture->GetPixel(0, 1, 0) >> 24, 1u);
  EXPECT_EQ(e->Texture->GetPixel(0, 3, 2) >> 24, 11u);
  EXPECT_GE(e->Texture->GetPixel(0, 3, 2) & 0xFF, 250u);  // white from the JPEG
  // The other way round: ROCK_1.jpg takes its alpha from ROCK.bmp.
  write("Pics/ROCK.bmp", test::makeIndexedBmp(4, 4));
  write("Pics/ROCK_1.jpg", test::makeJpeg(4, 4, 0xFF000000));
  TLumIm* r = cache().ImRequest("Pics\\ROCK_1.jpg", false);
  ASSERT_NE(r->Texture, nullptr);
  EXPECT_EQ(r->Texture->GetPixel(0, 2, 1) >> 24, 6u);
}

TEST_F(ImageCacheTest, MasksWhosePaletteIsShorterThanTheirIndicesStillGiveAlpha) {
  // A mask saved with a palette of two greys whose pixels reach index 255.
  write("Pics/GEM.BMP", test::makeShortPaletteBmp(16, 16, {0x000000, 0xFFFFFF},
                                                  [](int x, int y) { return uint8_t(x + 16 * y); }));
  write("Pics/GEM_.jpg", test::makeJpeg(16, 16, 0xFFFFFFFF));
  TLumIm* e = cache().ImRequest("Pics\\gem.bmp", false);
  ASSERT_NE(e->Texture, nullptr);
  EXPECT_FALSE(e->Failed);
  EXPECT_EQ(e->Texture->GetPixel(0, 3, 0) >> 24, 3u);
  EXPECT_EQ(e->Texture->GetPixel(0, 15, 15) >> 24, 255u);
  EXPECT_GE(e->Texture->GetPixel(0, 15, 15) & 0xFF, 250u);  // colour from the JPEG
}

TEST_F(ImageCacheTest, TheArchiveIsTheSecondSource) {
  ArchiveWriter writer;
  auto bytes = png(8, 2, 0xFF0000FF);
  writer.add("PICS\\PACKED.PNG", 1, bytes);
  std::string counts = "2\n1\n";
  writer.add("PICS\\PACKED.AN", 1,
             std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(counts.data()), counts.size()));
  ASSERT_TRUE(writer.save((dir_ / "data.asdb").string()).ok());
  TASDb archive;
  archive.setFileName((dir_ / "data.asdb").string());
  TLumIm* e = cache(&archive).ImRequest("Pics\\packed.png", false);
  ASSERT_NE(e->Texture, nullptr);
  EXPECT_EQ(e->Texture->PatternCount(), 2);
  EXPECT_EQ(e->Texture->PatternSize().width, 4);
}

TEST_F(ImageCacheTest, ScreenChangesReleaseWhatIsNoLongerReferenced) {
  write("Pics/a.png", png(4, 4, 0xFFFFFFFF));
  write("Pics/b.png", png(4, 4, 0xFFFFFFFF));
  TLumIm* a = cache().ImRequest("Pics\\a.png", false);
  TLumIm* b = cache().ImRequest("Pics\\b.png", true);
  cache().ImResetRefs();
  cache().ImFreeUnused();
  EXPECT_EQ(a->Texture, nullptr);
  EXPECT_NE(b->Texture, nullptr);  // kept
  EXPECT_EQ(stack_->images.Count(), 1);
  cache().ImRequest("Pics\\a.png", false);
  EXPECT_NE(a->Texture, nullptr);  // loaded again on the next request
}

TEST_F(ImageCacheTest, EvictionTakesTheLeastRecentlyDrawnAndOnlyAboveTheThreshold) {
  // 2000 x 2000 pictures are 16 MB each.
  write("Pics/big.png", png(2000, 2000, 0xFFFFFFFF));
  for (const char* n : {"first", "old", "fresh"}) fs::copy(dir_ / "Pics/big.png", dir_ / "Pics" / (std::string(n) + ".png"));
  folder_->invalidate();
  int32_t budget = 25000000;
  cache().maxMem = [&] { return budget; };
  TLumIm* first = cache().ImRequest("Pics\\first.png", false);
  frame_.ProcessTick = 1;
  TLumIm* old = cache().ImRequest("Pics\\old.png", false);
  frame_.ProcessTick = 2;
  TLumIm* fresh = cache().ImRequest("Pics\\fresh.png", false);
  // At 25,000,000 nothing is ever evicted.
  EXPECT_TRUE(first->Texture && old->Texture && fresh->Texture);
  budget = 30000000;
  frame_.ProcessTick = 3;
  cache().ImTexture(old);  // drawn just now
  frame_.ProcessTick = 4;
  TLumIm* big = cache().ImRequest("Pics\\big.png", false);
  // 64 MB against 30 MB: the least recently drawn go first, but never the
  // first entry ever made.
  EXPECT_NE(first->Texture, nullptr);
  EXPECT_EQ(fresh->Texture, nullptr);
  EXPECT_EQ(old->Texture, nullptr);
  EXPECT_NE(big->Texture, nullptr);
}

TEST_F(ImageCacheTest, ReloadAllKeepsLastUseAndCountsAReference) {
  write("Pics/a.png", png(4, 4, 0xFFFFFFFF));
  frame_.ProcessTick = 7;
  TLumIm* a = cache().ImRequest("Pics\\a.png", false);
  frame_.ProcessTick = 20;
  TAsphyreImage* before = a->Texture;
  cache().ImReloadAll();
  EXPECT_NE(a->Texture, nullptr);
  EXPECT_EQ(a->LastUse, 7u);
  EXPECT_EQ(a->RefCount, 2);
  EXPECT_EQ(frame_.ProcessTick, 20u);
  EXPECT_EQ(stack_->images.Count(), 1);
  (void)before;
}

}  // namespace
}  // namespace lum
