// Small hostile inputs must stay small in memory and time: pictures whose
// chunks claim huge lengths, archives with thousands of font records, and
// archives whose table names one record many times.
#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <fstream>

#include "archive_test_util.h"
#include "child_memory.h"
#include "device_test_support.h"
#include "picture_test_files.h"
#include "render/archive.h"
#include "render/archive_writer.h"
#include "render/fonts.h"
#include "render/picture_loaders.h"

namespace lum {
namespace {

constexpr uint64_t kMiB = 1024 * 1024;

void putBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift : {24, 16, 8, 0}) out.push_back(uint8_t(v >> shift));
}

// `png` with one more chunk after IHDR. `claimed` is the length written in
// the chunk header, which may be far more than the data that follows.
std::vector<uint8_t> withChunk(const std::vector<uint8_t>& png, const char* type,
                               const std::vector<uint8_t>& data, uint32_t claimed) {
  constexpr size_t kAfterHeader = 8 + 8 + 13 + 4;  // signature, IHDR chunk
  std::vector<uint8_t> out(png.begin(), png.begin() + kAfterHeader);
  putBigEndian(out, claimed);
  std::vector<uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  putBigEndian(out, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
  out.insert(out.end(), png.begin() + kAfterHeader, png.end());
  return out;
}

std::vector<uint8_t> textOf(const std::string& s) { return {s.begin(), s.end()}; }

constexpr const char* kTextChunks[] = {"tEXt", "zTXt", "iTXt", "sPLT"};

TEST(PngBounds, TinyFilesClaimingHugeTextChunksStayWithinMemory) {
  const auto png = test::makePng(1, 1, {0xFF336699}, PNG_FORMAT_RGB);
  for (const char* type : kTextChunks) {
    for (uint32_t claimed : {0x7FFFFFFFu, 0x40000000u, 0x10000000u}) {
      // Cut to the chunk's first bytes: the whole file stays under 100 bytes.
      auto bytes = withChunk(png, type, textOf("Comment"), claimed);
      bytes.resize(8 + 25 + 8 + 7);
      ASSERT_LT(bytes.size(), 100u);
      const test::ChildMemory m = test::measureInChild(
          [&] { return !loadPngPicture(bytes).ok(); }, 4096 * kMiB);
      EXPECT_TRUE(m.finished) << type << " claiming " << claimed;
      EXPECT_LT(m.addressRise, 200 * kMiB) << type << " claiming " << claimed;
    }
  }
}

TEST(PngBounds, PicturesWithTextAndSuggestedPalettesStillDecode) {
  const auto png = test::makePng(2, 1, {0xFF336699, 0xFF102030}, PNG_FORMAT_RGB);
  std::vector<uint8_t> compressed(64);
  uLongf size = compressed.size();
  ASSERT_EQ(compress(compressed.data(), &size, reinterpret_cast<const Bytef*>("hello"), 5), Z_OK);
  compressed.resize(size);
  std::vector<uint8_t> ztxt = textOf(std::string("Title\0\0", 7));
  ztxt.insert(ztxt.end(), compressed.begin(), compressed.end());
  // Palette name, sample depth 8, one entry: red, green, blue, alpha, frequency.
  const std::vector<uint8_t> splt = {'p', 0, 8, 1, 2, 3, 4, 0, 5};
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> chunks = {
      {"tEXt", textOf(std::string("Title\0lumrun", 12))},
      {"zTXt", ztxt},
      {"iTXt", textOf(std::string("Title\0\0\0en\0\0lumrun", 18))},
      {"sPLT", splt}};
  for (const auto& [type, data] : chunks) {
    auto p = loadPngPicture(withChunk(png, type, data, uint32_t(data.size())));
    ASSERT_TRUE(p) << type << ": " << p.error().text();
    EXPECT_EQ(p->pixel(0, 0), 0xFF336699u) << type;
    EXPECT_EQ(p->pixel(1, 0), 0xFF102030u) << type;
  }
}

// Bytes this process has read through system calls so far.
uint64_t bytesReadSoFar() {
  std::ifstream in("/proc/self/io");
  std::string name;
  uint64_t value = 0;
  while (in >> name >> value) {
    if (name == "rchar:") return value;
  }
  return 0;
}

// A font of one glyph on a sheet of w x h opaque white texels.
std::vector<uint8_t> fontBody(int w, int h) {
  FontRecord f;
  f.firstChar = 'A';
  f.glyphs = {{w, h}};
  f.sheet.format = PixelFormat::A8R8G8B8;
  f.sheet.patternSize = {w, h};
  f.sheet.visibleSize = {w, h};
  f.sheet.patternCount = 1;
  f.sheet.textureSize = {w, h};
  f.sheet.textureCount = 1;
  f.sheet.pixels.assign(f.sheet.textureBytes(), 0xFF);
  return encodeFontRecord(f);
}

TASDb readOnlyArchive(const std::string& path) {
  TASDb archive;
  archive.setOpenMode(TOpenModes::opReadOnly);
  archive.setFileName(path);
  return archive;
}

TEST(FontArchiveBounds, LoadingThousandsOfFontsReadsTheTableOnce) {
  constexpr int kFonts = 3000;
  const std::string path = test::tempPath("many.asdb");
  ArchiveWriter writer;
  writer.add("PROBE", 3, fontBody(4, 4));  // packed once, stored under every key
  ArchiveWriterRecord record = writer.records().front();
  ArchiveWriter many;
  for (int i = 0; i < kFonts; ++i) {
    record.entry.key = "FONT" + std::to_string(i);
    many.addRaw(record);
  }
  ASSERT_TRUE(many.save(path).ok());
  const uint64_t archiveSize = std::filesystem::file_size(path);

  auto stack = testing::softStack();
  TASDb archive = readOnlyArchive(path);
  const uint64_t read0 = bytesReadSoFar();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(stack->fonts.LoadFromASDb(archive));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const uint64_t read = bytesReadSoFar() - read0;
  ASSERT_EQ(stack->fonts.Count(), kFonts);
  EXPECT_TRUE(stack->fonts.Find("font2999")->Loaded());
  // Reading the table again for every font reads the whole archive per
  // font (about 150 GB here); once per open costs a few file buffers per font.
  EXPECT_LT(read, uint64_t(kFonts) * 64 * 1024) << read << " bytes read, archive " << archiveSize;
  EXPECT_LT(seconds, 10.0);
  std::remove(path.c_str());
}

// An archive whose table names its one font record `entries` times.
std::vector<uint8_t> archiveNamingOneRecord(const std::vector<uint8_t>& body, int entries) {
  std::vector<uint8_t> packed(compressBound(uLong(body.size())));
  uLongf packedSize = packed.size();
  EXPECT_EQ(compress2(packed.data(), &packedSize, body.data(), uLong(body.size()), 9), Z_OK);
  packed.resize(packedSize);
  std::vector<uint8_t> out = {'A', 'S', 'D', 'b', 0, 0, 0, 0, 0, 0, 0, 0};
  test::putU32(out, 4, uint32_t(entries));
  std::vector<uint8_t> header(kArchiveRecordHeaderSize, 0);
  header[0] = 3;  // font
  test::putU32(header, 2, uint32_t(body.size()));
  test::putU32(header, 6, uint32_t(packed.size()));
  out.insert(out.end(), header.begin(), header.end());
  out.insert(out.end(), packed.begin(), packed.end());
  test::putU32(out, 8, uint32_t(out.size()));
  for (int i = 0; i < entries; ++i) {
    const std::string key = "F" + std::to_string(i);
    std::vector<uint8_t> entry(4 + key.size() + 4);
    test::putU32(entry, 0, uint32_t(key.size()));
    std::copy(key.begin(), key.end(), entry.begin() + 4);
    test::putU32(entry, 4 + key.size(), 12);
    out.insert(out.end(), entry.begin(), entry.end());
  }
  return out;
}

TEST(FontArchiveBounds, EntriesNamingOneRecordShareOneFace) {
  constexpr int kEntries = 2000;
  const std::string path = test::tempPath("shared.asdb");
  // A 1 MiB glyph sheet that packs to about a kilobyte: one texture per
  // entry would need 2 GiB.
  const auto bytes = archiveNamingOneRecord(fontBody(512, 512), kEntries);
  ASSERT_LT(bytes.size(), 40u * 1024);
  test::writeFile(path, bytes);
  const test::ChildMemory m = test::measureInChild(
      [&] {
        auto stack = testing::softStack();
        TASDb archive = readOnlyArchive(path);
        if (!stack->fonts.LoadFromASDb(archive) || stack->fonts.Count() != kEntries) return false;
        for (int i = 0; i < kEntries; ++i) {
          if (!stack->fonts.Item(i)->Loaded()) return false;
        }
        TAsphyreFont* last = stack->fonts.Find("F1999");
        const auto pixels = testing::drawFrame(
            *stack, [&] { (void)last->TextOut("A", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 1); });
        return testing::at(pixels, 5, 5) == 0xFFFFFFFF &&
               stack->fonts.TextureBytes() == uint64_t(512) * 512 * 4;
      },
      1024 * kMiB);
  EXPECT_TRUE(m.finished);
  EXPECT_LT(m.residentRise, 200 * kMiB);
  std::remove(path.c_str());
}

TEST(FontArchiveBounds, FontsBeyondTheBudgetFailAndStopTheLoading) {
  const std::string path = test::tempPath("budget.asdb");
  ArchiveWriter writer;
  for (int i = 0; i < 12; ++i) writer.add("FONT" + std::to_string(i), 3, fontBody(512, 512));
  ASSERT_TRUE(writer.save(path).ok());
  auto stack = testing::softStack();
  stack->fonts.TextureBudget = 8 * kMiB;  // room for eight sheets of 1 MiB
  TASDb archive = readOnlyArchive(path);
  EXPECT_FALSE(stack->fonts.LoadFromASDb(archive));
  ASSERT_EQ(stack->fonts.Count(), 9);
  EXPECT_TRUE(stack->fonts.Item(7)->Loaded());
  EXPECT_FALSE(stack->fonts.Item(8)->Loaded());
  EXPECT_EQ(stack->fonts.TextureBytes(), 8 * kMiB);
  // Clearing the list gives the budget back.
  stack->fonts.Clear();
  stack->fonts.TextureBudget = 16 * kMiB;
  EXPECT_TRUE(stack->fonts.LoadFromASDb(archive));
  EXPECT_EQ(stack->fonts.Count(), 12);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace lum
