#include "tools/lumf/archive_commands.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

#include "render/archive.h"
#include "render/archive_records.h"
#include "render/archive_writer.h"
#include "render/truetype.h"

namespace lum {
namespace {

constexpr int kBadUsage = 2;
constexpr int kUnreadableArchive = 2;
constexpr int kUnreadableRecord = 2;
constexpr uint16_t kDefaultPackType = 1;

int archiveUsage() {
  std::cerr << "usage: lumf archive list ARCHIVE\n"
               "       lumf archive extract ARCHIVE KEY -o FILE\n"
               "       lumf archive pack ARCHIVE [--type N] FILE...\n";
  return kBadUsage;
}

int fontUsage() {
  std::cerr << "usage: lumf font FONT.ttf --size N [--first C] [--count N] [--codepage CP] "
               "--key NAME -o ARCHIVE\n";
  return kBadUsage;
}

std::optional<long> parseNumber(const std::string& text, long min, long max) {
  try {
    size_t used = 0;
    const long v = std::stol(text, &used, 0);  // decimal, or 0x... hex
    if (used != text.size() || v < min || v > max) return std::nullopt;
    return v;
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

double fileTimeStamp(const std::string& path) {
  std::error_code ec;
  const auto when = std::filesystem::last_write_time(path, ec);
  if (ec) return 0.0;
  const auto system = std::chrono::file_clock::to_sys(when);
  return archiveTimeStamp(std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count());
}

TASDb openForReading(const std::string& path, bool& ok) {
  TASDb db;
  db.setOpenMode(TOpenModes::opReadOnly);
  db.setFileName(path);
  ok = db.open();
  return db;
}

int listArchive(const std::vector<std::string>& args) {
  if (args.size() != 2) return archiveUsage();
  bool ok = false;
  TASDb db = openForReading(args[1], ok);
  if (!ok) {
    std::cerr << "lumf: cannot read the archive " << args[1] << '\n';
    return kUnreadableArchive;
  }
  for (const ASDbEntry& e : db.entries())
    std::cout << e.key << ' ' << e.type << ' ' << e.unpackedSize << ' ' << e.packedSize << '\n';
  return 0;
}

int extractRecord(const std::vector<std::string>& args) {
  if (args.size() != 5 || args[3] != "-o") return archiveUsage();
  const std::string& path = args[1];
  const std::string& key = args[2];
  bool ok = false;
  TASDb db = openForReading(path, ok);
  if (!ok) {
    std::cerr << "lumf: cannot read the archive " << path << '\n';
    return kUnreadableArchive;
  }
  auto data = db.readRecord(key);
  if (!data) {
    std::cerr << "lumf: cannot read " << key << ": " << data.error().text() << '\n';
    return kUnreadableRecord;
  }
  std::ofstream out(args[4], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data->data()), std::streamsize(data->size()));
  if (!out.flush()) {
    std::cerr << "lumf: cannot write " << args[4] << '\n';
    return kUnreadableRecord;
  }
  return 0;
}

int packFiles(const std::vector<std::string>& args) {
  if (args.size() < 2) return archiveUsage();
  uint16_t type = kDefaultPackType;
  std::vector<std::string> files;
  for (size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--type") {
      const auto n = i + 1 < args.size() ? parseNumber(args[i + 1], 0, 65535) : std::nullopt;
      if (!n) return archiveUsage();
      type = uint16_t(*n);
      ++i;
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.empty()) return archiveUsage();
  auto writer = ArchiveWriter::openOrCreate(args[1]);
  if (!writer) {
    std::cerr << "lumf: " << writer.error().text() << '\n';
    return kUnreadableArchive;
  }
  for (const std::string& file : files) {
    const auto bytes = readWholeFile(file);
    if (!bytes) {
      std::cerr << "lumf: cannot read " << file << '\n';
      return kBadUsage;
    }
    if (bytes->empty() || bytes->size() > kMaxArchiveRecordSize) {
      // Such a record could never be read back.
      std::cerr << "lumf: " << file << " is empty or larger than an archive record may be\n";
      return kBadUsage;
    }
    writer->add(archiveKeyForPath(file), type, *bytes, fileTimeStamp(file));
  }
  if (Status s = writer->save(args[1]); !s) {
    std::cerr << "lumf: " << s.error().text() << '\n';
    return kBadUsage;
  }
  return 0;
}

}  // namespace

int runArchiveCommand(const std::vector<std::string>& args) {
  if (args.empty()) return archiveUsage();
  if (args[0] == "list") return listArchive(args);
  if (args[0] == "extract") return extractRecord(args);
  if (args[0] == "pack") return packFiles(args);
  return archiveUsage();
}

int runFontCommand(const std::vector<std::string>& args) {
  if (args.empty()) return fontUsage();
  TrueTypeRasterOptions options;
  std::optional<long> size, first, count;
  std::string key, output;
  const std::string& fontPath = args[0];
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (i + 1 >= args.size()) return fontUsage();
    const std::string& value = args[++i];
    if (flag == "--size") size = parseNumber(value, 1, 512);
    else if (flag == "--first") first = value.size() == 1 && !std::isdigit(uint8_t(value[0]))
                                            ? std::optional<long>(uint8_t(value[0]))
                                            : parseNumber(value, 0, 255);
    else if (flag == "--count") count = parseNumber(value, 1, 256);
    else if (flag == "--codepage") options.codepage = value;
    else if (flag == "--key") key = value;
    else if (flag == "-o") output = value;
    else return fontUsage();
    if ((flag == "--size" && !size) || (flag == "--first" && !first) || (flag == "--count" && !count))
      return fontUsage();
  }
  if (!size || key.empty() || output.empty()) return fontUsage();
  options.pixelSize = int(*size);
  if (first) options.firstChar = int(*first);
  options.count = count ? int(*count) : 256 - options.firstChar;

  const auto ttf = readWholeFile(fontPath);
  if (!ttf) {
    std::cerr << "lumf: cannot read " << fontPath << '\n';
    return kBadUsage;
  }
  auto font = rasteriseTrueType(*ttf, options);
  if (!font) {
    std::cerr << "lumf: " << fontPath << ": " << font.error().text() << '\n';
    return kBadUsage;
  }
  auto writer = ArchiveWriter::openOrCreate(output);
  if (!writer) {
    std::cerr << "lumf: " << writer.error().text() << '\n';
    return kUnreadableArchive;
  }
  writer->add(key, uint16_t(kArchiveFontRecordType), encodeFontRecord(*font), fileTimeStamp(fontPath));
  if (Status s = writer->save(output); !s) {
    std::cerr << "lumf: " << s.error().text() << '\n';
    return kBadUsage;
  }
  return 0;
}

}  // namespace lum
