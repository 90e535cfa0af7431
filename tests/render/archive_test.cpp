#include "render/archive.h"

#include <zlib.h>

#include <sstream>

#include "archive_test_util.h"
#include "render/archive_writer.h"

namespace lum {
namespace {

using test::bytesOf;
using test::tempPath;

// Opens `bytes` written to a file, read-only as the runner does.
TASDb openArchive(const std::string& path, const std::vector<uint8_t>& bytes, bool* opened = nullptr) {
  test::writeFile(path, bytes);
  TASDb db;
  db.setOpenMode(TOpenModes::opReadOnly);
  db.setFileName(path);
  const bool ok = db.open();
  if (opened) *opened = ok;
  return db;
}

std::vector<uint8_t> packed(const std::string& text) {
  std::vector<uint8_t> data = bytesOf(text);
  uLongf size = compressBound(uLong(data.size()));
  std::vector<uint8_t> out(size);
  compress(out.data(), &size, data.data(), uLong(data.size()));
  out.resize(size);
  return out;
}

ArchiveWriterRecord rawRecord(const std::string& key, uint32_t unpackedSize, std::vector<uint8_t> data) {
  ArchiveWriterRecord r;
  r.entry.key = key;
  r.entry.type = 1;
  r.entry.unpackedSize = unpackedSize;
  r.entry.packedSize = uint32_t(data.size());
  r.packed = std::move(data);
  return r;
}

TEST(Archive, WrittenRecordsReadBack) {
  ArchiveWriter w;
  w.add("FONTS\\MAIN", 3, bytesOf("font body"), 45000.5);
  w.add("PIC.PNG", 7, bytesOf(std::string(5000, 'x')));
  bool opened = false;
  TASDb db = openArchive(tempPath("a.asdb"), w.bytes(), &opened);
  ASSERT_TRUE(opened);
  EXPECT_TRUE(db.isOpen());
  ASSERT_EQ(db.recordCount(), 2);
  EXPECT_EQ(db.recordKey(0), "FONTS\\MAIN");
  EXPECT_EQ(db.recordType(0), 3);
  EXPECT_EQ(db.entries()[0].timeStamp, 45000.5);
  EXPECT_EQ(db.recordType(1), 7);
  EXPECT_EQ(db.entries()[1].unpackedSize, 5000u);
  auto body = db.readRecord("fonts\\main");
  ASSERT_TRUE(body) << body.error().text();
  EXPECT_EQ(*body, bytesOf("font body"));
  // Reads use the table of the open; the archive stays open.
  EXPECT_TRUE(db.isOpen());
  EXPECT_EQ(db.indexOf("PIC.PNG"), 1);
  std::ostringstream stream;
  EXPECT_TRUE(db.readRecordToStream("pic.png", stream));
  EXPECT_EQ(stream.str(), std::string(5000, 'x'));
  EXPECT_TRUE(db.ensureOpen());
  EXPECT_TRUE(db.isOpen());
}

TEST(Archive, LargeRecordsReadWhole) {
  std::string big(3 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = char((i * 2654435761u) >> 13);
  ArchiveWriter w;
  w.add("BIG", 1, bytesOf(big));
  TASDb db = openArchive(tempPath("a.asdb"), w.bytes());
  auto data = db.readRecord("BIG");
  ASSERT_TRUE(data) << data.error().text();
  EXPECT_EQ(*data, bytesOf(big));
}

TEST(Archive, KeysMatchIgnoringAsciiCaseOnly) {
  ArchiveWriter w;
  w.add("HELLO", 1, bytesOf("a"));
  w.add("\xC9T\xC9", 1, bytesOf("b"));  // non-ASCII letters (Latin-1 E acute)
  TASDb db = openArchive(tempPath("a.asdb"), w.bytes());
  EXPECT_EQ(db.indexOf("hello"), 0);
  EXPECT_EQ(db.indexOf("HeLLo"), 0);
  EXPECT_EQ(db.indexOf("\xC9T\xC9"), 1);
  EXPECT_EQ(db.indexOf("\xE9t\xE9"), -1);
  EXPECT_EQ(db.indexOf("HELL"), -1);
}

TEST(Archive, OutOfRangeIndicesHaveFixedAnswers) {
  ArchiveWriter w;
  w.add("ONE", 3, bytesOf("a"));
  TASDb db = openArchive(tempPath("a.asdb"), w.bytes());
  EXPECT_EQ(db.recordKey(-1), "[invalid-record-#]");
  EXPECT_EQ(db.recordKey(1), "[invalid-record-#]");
  EXPECT_EQ(db.recordType(-1), 0);
  EXPECT_EQ(db.recordType(1), 0);
}

TEST(Archive, EmptyArchiveIsTwelveBytes) {
  ArchiveWriter w;
  const auto bytes = w.bytes();
  ASSERT_EQ(bytes.size(), 12u);
  bool opened = false;
  TASDb db = openArchive(tempPath("a.asdb"), bytes, &opened);
  EXPECT_TRUE(opened);
  EXPECT_EQ(db.recordCount(), 0);
  EXPECT_EQ(db.header().tableOffset, 12u);
}

TEST(Archive, TableBeyondTheEndFailsWithNoEntries) {
  ArchiveWriter w;
  w.add("ONE", 3, bytesOf("a"));
  auto bytes = w.bytes();
  test::putU32(bytes, 8, uint32_t(bytes.size() + 100));
  bool opened = true;
  TASDb db = openArchive(tempPath("a.asdb"), bytes, &opened);
  EXPECT_FALSE(opened);
  EXPECT_EQ(db.recordCount(), 0);
  EXPECT_EQ(db.indexOf("ONE"), -1);
}

TEST(Archive, HugeRecordCountIsRefusedWithoutAllocating) {
  std::vector<uint8_t> bytes = {'A', 'S', 'D', 'b', 0xFF, 0xFF, 0xFF, 0xFF, 12, 0, 0, 0};
  bool opened = true;
  TASDb db = openArchive(tempPath("a.asdb"), bytes, &opened);
  EXPECT_FALSE(opened);
  EXPECT_EQ(db.recordCount(), 0);
}

TEST(Archive, SignatureIsNotChecked) {
  ArchiveWriter w;
  w.add("ONE", 3, bytesOf("abc"));
  auto bytes = w.bytes();
  bytes[0] = 'X', bytes[1] = 'Y', bytes[2] = 'Z', bytes[3] = '!';
  bool opened = false;
  TASDb db = openArchive(tempPath("a.asdb"), bytes, &opened);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(db.readRecord("ONE"));
}

TEST(Archive, RecordHeaderBeyondTheEndKeepsEarlierEntries) {
  ArchiveWriter w;
  w.add("ONE", 3, bytesOf("abc"));
  w.add("TWO", 3, bytesOf("def"));
  auto bytes = w.bytes();
  // Point the second entry's record offset past the end of the file.
  const uint32_t table = bytes[8] | bytes[9] << 8 | bytes[10] << 16 | uint32_t(bytes[11]) << 24;
  test::putU32(bytes, table + 4 + 3 + 4 + 4 + 3, 0x7FFFFFF0);
  bool opened = true;
  TASDb db = openArchive(tempPath("a.asdb"), bytes, &opened);
  EXPECT_FALSE(opened);
  EXPECT_EQ(db.recordCount(), 2);
  EXPECT_EQ(db.recordType(0), 3);
  EXPECT_EQ(db.recordType(1), 0);
}

TEST(Archive, UnpackedSizeMustMatchExactly) {
  ArchiveWriter w;
  w.addRaw(rawRecord("LONGER", 6, packed("hello")));   // one more than inflated
  w.addRaw(rawRecord("SHORTER", 4, packed("hello")));  // one less
  w.addRaw(rawRecord("EXACT", 5, packed("hello")));
  w.addRaw(rawRecord("ZERO", 0, packed("")));
  TASDb db = openArchive(tempPath("a.asdb"), w.bytes());
  EXPECT_FALSE(db.readRecord("LONGER"));
  EXPECT_FALSE(db.readRecord("SHORTER"));
  EXPECT_FALSE(db.readRecord("ZERO"));  // even though it inflates to nothing
  auto exact = db.readRecord("EXACT");
  ASSERT_TRUE(exact);
  EXPECT_EQ(*exact, bytesOf("hello"));
}

TEST(Archive, DamagedOrEncipheredDataFailsToRead) {
  auto data = packed("hello world");
  auto corrupt = data;
  corrupt[corrupt.size() / 2] ^= 0x5A;
  auto truncated = data;
  truncated.resize(truncated.size() - 3);
  auto enciphered = rawRecord("SECRET", 11, data);
  enciphered.entry.cipherFlag = 1;
  ArchiveWriter w;
  w.addRaw(rawRecord("CORRUPT", 11, corrupt));
  w.addRaw(rawRecord("TRUNCATED", 11, truncated));
  w.addRaw(rawRecord("HUGE", kMaxArchiveRecordSize + 1, data));
  w.addRaw(std::move(enciphered));
  TASDb db = openArchive(tempPath("a.asdb"), w.bytes());
  EXPECT_FALSE(db.readRecord("CORRUPT"));
  EXPECT_FALSE(db.readRecord("TRUNCATED"));
  EXPECT_FALSE(db.readRecord("HUGE"));
  EXPECT_FALSE(db.readRecord("SECRET"));
  EXPECT_FALSE(db.readRecord("ABSENT"));
  std::ostringstream stream;
  EXPECT_FALSE(db.readRecordToStream("CORRUPT", stream));
  EXPECT_TRUE(stream.str().empty());
}

TEST(Archive, PackedSizeBeyondTheFileFails) {
  auto r = rawRecord("BIG", 5, packed("hello"));
  r.entry.packedSize = 0xFFFFFF00;
  ArchiveWriter w;
  w.addRaw(std::move(r));
  auto bytes = w.bytes();
  // The writer stores the real packed length; force the header's field.
  test::putU32(bytes, 12 + 6, 0xFFFFFF00);
  TASDb db = openArchive(tempPath("a.asdb"), bytes);
  EXPECT_FALSE(db.readRecord("BIG"));
}

TEST(Archive, MissingFileLeavesEmptyTable) {
  TASDb db;
  db.setOpenMode(TOpenModes::opReadOnly);
  db.setFileName(tempPath("does-not-exist.asdb"));
  EXPECT_FALSE(db.open());
  EXPECT_EQ(db.recordCount(), 0);
  EXPECT_FALSE(db.readRecord("ANY"));
}

TEST(Archive, UpdateModeCreatesAnEmptyArchive) {
  const std::string path = tempPath("new.asdb");
  std::filesystem::remove(path);
  TASDb db;
  db.setFileName(path);
  EXPECT_EQ(db.OpenMode(), TOpenModes::opUpdate);
  EXPECT_TRUE(db.open());
  EXPECT_EQ(test::readFile(path).size(), 12u);
  EXPECT_EQ(db.fileSize(), 12u);
}

TEST(Archive, SettingFileNameMarksNotOpen) {
  ArchiveWriter w;
  TASDb db = openArchive(tempPath("a.asdb"), w.bytes());
  EXPECT_TRUE(db.isOpen());
  db.setFileName(db.FileName());
  EXPECT_FALSE(db.isOpen());
}

TEST(ArchiveWriter, ExtendsAndReplacesRecordsOfAnExistingFile) {
  const std::string path = tempPath("a.asdb");
  std::filesystem::remove(path);
  {
    auto w = ArchiveWriter::openOrCreate(path);
    ASSERT_TRUE(w);
    w->add("A", 1, bytesOf("first"));
    w->add("B", 3, bytesOf("second"));
    ASSERT_TRUE(w->save(path));
  }
  {
    auto w = ArchiveWriter::openOrCreate(path);
    ASSERT_TRUE(w);
    ASSERT_EQ(w->records().size(), 2u);
    w->add("a", 2, bytesOf("replaced"));
    w->add("C", 1, bytesOf("third"));
    ASSERT_TRUE(w->save(path));
  }
  TASDb db;
  db.setOpenMode(TOpenModes::opReadOnly);
  db.setFileName(path);
  ASSERT_TRUE(db.open());
  ASSERT_EQ(db.recordCount(), 3);
  EXPECT_EQ(db.recordKey(0), "a");
  EXPECT_EQ(db.recordType(0), 2);
  EXPECT_EQ(*db.readRecord("A"), bytesOf("replaced"));
  EXPECT_EQ(*db.readRecord("B"), bytesOf("second"));
  EXPECT_EQ(*db.readRecord("C"), bytesOf("third"));
}

TEST(ArchiveWriter, RefusesToExtendAnUnreadableFile) {
  const std::string path = tempPath("junk.asdb");
  test::writeFile(path, bytesOf("not an archive"));
  EXPECT_FALSE(ArchiveWriter::openOrCreate(path));
}

TEST(ArchiveWriter, KeysAndTimeStamps) {
  EXPECT_EQ(archiveKeyForPath("pics/Title.png"), "PICS\\TITLE.PNG");
  EXPECT_EQ(archiveKeyForPath("a\xe9/b"), "A\xe9\\B");
  EXPECT_DOUBLE_EQ(archiveTimeStamp(0), 25569.0);
  EXPECT_DOUBLE_EQ(archiveTimeStamp(86400 / 2), 25569.5);
}

}  // namespace
}  // namespace lum
