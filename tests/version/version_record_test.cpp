// The version record: building, parsing, finding it in a program file, and
// the lookup the about box runs on the test program's own file.
#include <gtest/gtest.h>

#include <stdlib.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/elf_file.h"
#include "version/version_record.h"

namespace dorvane::version {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr VersionString kProgramStrings[] = {
    {u"ProductVersion", u"1.0.0.0"},
    {u"LegalCopyright", u"Copyright \u00A9 2026 Dorvane"},
    {u"Comments", u"Freeware"},
};

VersionRecordContents Spec(std::span<const VersionString> strings = kProgramStrings) {
  VersionRecordContents s;
  s.fileVersion = {1, 0, 0, 0};
  s.productVersion = {1, 0, 0, 0};
  s.strings = strings;
  return s;
}

std::u16string Find(const Bytes& block, std::u16string_view key) {
  return FindVersionString(block, key);
}

std::uint16_t At16(const Bytes& b, std::size_t at) {
  return std::uint16_t(b[at] | (b[at + 1] << 8));
}

// --- the record built with the program -----------------------------------------

TEST(VersionRecord, TheRunningProgramCarriesItsRecord) {
  EXPECT_GT(VersionInfoSize(kOwnProgramFile), 0u);
  struct Case {
    std::u16string_view key, expected;
  };
  const Case cases[] = {
      {u"ProductVersion", u"1.0.0.0"},
      {u"FileVersion", u"1.0.0.0"},
      {u"FileDescription", u"Affichage modification courbe variation potentiometre"},
      {u"LegalCopyright", u"Copyright \u00A9 2026 Dorvane"},
      {u"Comments", u"Freeware"},
#ifdef _WIN32
      // The Windows resource adds what Explorer shows.
      {u"CompanyName", u"Dorvane"},
      {u"ProductName", u"Dorvane"},
      {u"InternalName", u"dorvane"},
      {u"OriginalFilename", u"dorvane.exe"},
#else
      {u"CompanyName", u""},
#endif
  };
  for (const Case& c : cases)
    EXPECT_EQ(LookupVersionString(c.key), c.expected) << std::string(c.key.begin(), c.key.end());
}

#ifdef _WIN32
// Beside the version resource, the program file carries its icon (16 to 256
// pixels in full colour, the 32 x 32 in 16 colours kept) and its manifest.
TEST(VersionRecord, TheProgramFileCarriesItsIconsAndManifest) {
  HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_TRUE(group);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
  ASSERT_TRUE(dir);
  std::set<std::pair<int, int>> images;  // size, bits per pixel
  for (int i = 0, n = dir[4] | dir[5] << 8; i < n; ++i) {
    const BYTE* entry = dir + 6 + 14 * i;
    images.insert({entry[0] == 0 ? 256 : entry[0], entry[6] | entry[7] << 8});
  }
  for (int size : {16, 24, 32, 48, 256}) EXPECT_TRUE(images.count({size, 32})) << size;
  EXPECT_TRUE(images.count({32, 4}));
  HRSRC manifest = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_TRUE(manifest);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                         SizeofResource(nullptr, manifest));
  for (const char* part :
       {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", ">PerMonitorV2<", ">true/pm<", "<longPathAware",
        "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "level=\"asInvoker\""})
    EXPECT_NE(text.find(part), std::string::npos) << part;
}
#endif

TEST(VersionRecord, TheProgramsRecordNamesFrenchInWesternCodePage) {
  const std::size_t size = VersionInfoSize(kOwnProgramFile);
  const Bytes block = ReadVersionInfo(kOwnProgramFile, size);
  ASSERT_EQ(block.size(), size);
  const auto translation = VersionTranslation(block);
  ASSERT_TRUE(translation);
  EXPECT_EQ(translation->first, 0x040C);
  EXPECT_EQ(translation->second, 0x04E4);
  EXPECT_TRUE(QueryVersionValue(block, u"\\StringFileInfo\\040C04E4\\Comments"));
  // The fixed part: signature, then file version 1.0.0.0 as two words.
  const auto fixed = QueryVersionValue(block, u"");
  ASSERT_TRUE(fixed);
  ASSERT_EQ(fixed->bytes.size(), 52u);
  const Bytes f(fixed->bytes.begin(), fixed->bytes.end());
  EXPECT_EQ(At16(f, 0) | (At16(f, 2) << 16), 0xFEEF04BD);
  EXPECT_EQ(At16(f, 10), 1);  // high word of the most significant part
  EXPECT_EQ(At16(f, 8), 0);
}

// --- the layout -------------------------------------------------------------------

TEST(VersionRecord, BlocksFollowTheClassicLayout) {
  const Bytes b = BuildVersionRecord(Spec());
  EXPECT_EQ(At16(b, 0), b.size());  // root length covers everything
  EXPECT_EQ(At16(b, 2), 52);        // fixed information
  EXPECT_EQ(At16(b, 4), 0);         // binary
  const std::u16string key = u"VS_VERSION_INFO";
  for (std::size_t i = 0; i < key.size(); ++i) EXPECT_EQ(At16(b, 6 + 2 * i), key[i]);
  // Key ends at 6 + 32 = 38, padded to 40, where the fixed part starts.
  EXPECT_EQ(At16(b, 40), 0x04BD);
  EXPECT_EQ(b.size() % 4, 0u);
}

TEST(VersionRecord, FindsKeysThroughTheTranslationTable) {
  const Bytes b = BuildVersionRecord(Spec());
  EXPECT_EQ(Find(b, u"ProductVersion"), u"1.0.0.0");
  EXPECT_EQ(Find(b, u"productversion"), u"1.0.0.0");
  EXPECT_EQ(Find(b, u"Comments"), u"Freeware");
  EXPECT_EQ(Find(b, u"Missing"), u"");
  EXPECT_EQ(Find(b, u""), u"");
}

TEST(VersionRecord, WithoutTranslationOnlyTheFallbackTableIsRead) {
  struct Case {
    std::u16string_view table;
    std::u16string_view expected;
  };
  const Case cases[] = {{u"040904E4", u"1.0.0.0"}, {u"040C04E4", u""}, {u"040904B0", u""}};
  for (const Case& c : cases) {
    VersionRecordContents s = Spec();
    s.withTranslation = false;
    s.tableName = c.table;
    const Bytes b = BuildVersionRecord(s);
    EXPECT_FALSE(VersionTranslation(b));
    EXPECT_EQ(Find(b, u"ProductVersion"), c.expected) << std::string(c.table.begin(), c.table.end());
  }
}

TEST(VersionRecord, TranslationPointingToAMissingTableGivesNothing) {
  VersionRecordContents s = Spec();
  s.tableName = u"040904E4";  // the translation still says 040C04E4
  EXPECT_EQ(Find(BuildVersionRecord(s), u"ProductVersion"), u"");
}

TEST(VersionRecord, LongValuesAreCutAtTheBuffer) {
  const std::u16string exact(kMaxVersionValue, u'x');
  const std::u16string longer(3000, u'y');
  // A surrogate pair straddling the cut is dropped whole.
  std::u16string pair(kMaxVersionValue - 1, u'z');
  pair += u"\U0001F600tail";
  const VersionString strings[] = {{u"Exact", exact}, {u"Longer", longer}, {u"Pair", pair}};
  const Bytes b = BuildVersionRecord(Spec(strings));
  EXPECT_EQ(Find(b, u"Exact"), exact);
  EXPECT_EQ(Find(b, u"Longer"), longer.substr(0, kMaxVersionValue));
  EXPECT_EQ(Find(b, u"Pair"), pair.substr(0, kMaxVersionValue - 1));
}

TEST(VersionRecord, EveryTruncationFailsSafely) {
  const Bytes full = BuildVersionRecord(Spec());
  for (std::size_t n = 0; n < full.size(); ++n) {
    const Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(n));
    EXPECT_EQ(Find(cut, u"ProductVersion"), u"") << n;
  }
}

TEST(VersionRecord, CorruptLengthsNeverReadOutside) {
  const Bytes full = BuildVersionRecord(Spec());
  // Every 16-bit field replaced in turn by telling values; the parser must
  // stay inside the block (the sanitizer build checks) and never return a
  // value that is not one of the record's or a cut of one.
  const std::u16string good = u"1.0.0.0";
  const auto textAt = [&](std::size_t at) {
    for (std::size_t k = 0; k < good.size(); ++k)
      if (At16(full, at + 2 * k) != good[k]) return false;
    return true;
  };
  std::size_t valueAt = 0;
  while (valueAt + 2 * good.size() < full.size() && !textAt(valueAt)) valueAt += 2;
  ASSERT_LT(valueAt + 2 * good.size(), full.size());
  for (std::size_t at = 0; at + 1 < full.size(); at += 2) {
    if (at >= valueAt && at <= valueAt + 2 * good.size()) continue;  // the text and its NUL
    for (std::uint16_t v : {0, 1, 5, 6, 0xFFFF, 0x7FFF}) {
      Bytes b = full;
      b[at] = std::uint8_t(v & 0xFF);
      b[at + 1] = std::uint8_t(v >> 8);
      const std::u16string got = Find(b, u"ProductVersion");
      EXPECT_LE(got.size(), kMaxVersionValue);
      EXPECT_TRUE(got.empty() || good.starts_with(got)) << at << " " << v;
    }
  }
}

TEST(VersionRecord, ValueWithoutTerminatorStopsAtItsBlock) {
  Bytes b = BuildVersionRecord(Spec());
  // Claim a huge value length for the first string ("ProductVersion").
  const std::u16string key = u"ProductVersion";
  std::size_t at = 0;
  for (std::size_t i = 0; i + key.size() * 2 < b.size(); i += 2) {
    bool match = true;
    for (std::size_t k = 0; k < key.size() && match; ++k) match = At16(b, i + 2 * k) == key[k];
    if (match) {
      at = i - 6;
      break;
    }
  }
  ASSERT_GT(at, 0u);
  b[at + 2] = 0xFF;
  b[at + 3] = 0x7F;
  EXPECT_EQ(Find(b, u"ProductVersion"), u"1.0.0.0");
}

// --- program files ------------------------------------------------------------------

class VersionFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = (std::filesystem::temp_directory_path() / "dorvane-version-XXXXXX").string();
#ifdef _WIN32
    ASSERT_EQ(_mktemp_s(name.data(), name.size() + 1), 0);
    ASSERT_TRUE(std::filesystem::create_directory(name));
#else
    ASSERT_NE(mkdtemp(name.data()), nullptr);
#endif
    dir_ = name;
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  std::string path(const char* name) const {
    return (dir_ / name).string();
  }
  std::filesystem::path dir_;
};

TEST_F(VersionFile, ReadsTheSectionInEveryElfFlavour) {
  const Bytes record = BuildVersionRecord(Spec());
  for (const testsupport::ElfLayout layout :
       {testsupport::ElfLayout{true, false}, testsupport::ElfLayout{false, false},
        testsupport::ElfLayout{true, true}, testsupport::ElfLayout{false, true}}) {
    const std::string file = path("prog");
    testsupport::WriteFile(file, testsupport::MakeElf(std::string(kVersionSectionName), record, layout));
    EXPECT_EQ(VersionInfoSize(file), record.size());
    EXPECT_EQ(LookupVersionString(u"Comments", file), u"Freeware") << layout.is64 << layout.bigEndian;
  }
}

TEST_F(VersionFile, FilesWithoutARecordGiveNothing) {
  const Bytes record = BuildVersionRecord(Spec());
  const Bytes elf = testsupport::MakeElf(std::string(kVersionSectionName), record);
  struct Case {
    const char* what;
    Bytes bytes;
  };
  const Case cases[] = {
      {"other section", testsupport::MakeElf(".data", record)},
      {"not ELF", Bytes(300, 'x')},
      {"empty", {}},
      {"cut before the section headers", Bytes(elf.begin(), elf.begin() + 100)},
      {"cut inside the section headers", Bytes(elf.begin(), elf.end() - 10)},
  };
  for (const Case& c : cases) {
    const std::string file = path("prog");
    testsupport::WriteFile(file, c.bytes);
    EXPECT_EQ(LookupVersionString(u"Comments", file), u"") << c.what;
  }
  EXPECT_EQ(VersionInfoSize(path("missing")), 0u);
  EXPECT_EQ(LookupVersionString(u"Comments", path("missing")), u"");
  EXPECT_EQ(LookupVersionString(u"Comments", dir_.string()), u"");
}

TEST_F(VersionFile, EveryLookupReadsTheFileAgain) {
  const std::string file = path("prog");
  const VersionString first[] = {{u"Comments", u"first"}};
  const VersionString second[] = {{u"Comments", u"second, longer"}};
  testsupport::WriteFile(
      file, testsupport::MakeElf(std::string(kVersionSectionName), BuildVersionRecord(Spec(first))));
  EXPECT_EQ(LookupVersionString(u"Comments", file), u"first");
  testsupport::WriteFile(
      file, testsupport::MakeElf(std::string(kVersionSectionName), BuildVersionRecord(Spec(second))));
  EXPECT_EQ(LookupVersionString(u"Comments", file), u"second, longer");
}

TEST(ElfSection, HeaderFieldsOutOfRangeAreRejected) {
  const Bytes elf = testsupport::MakeElf(std::string(kVersionSectionName), Bytes(16, 1));
  const auto find = [](const Bytes& b) {
    const ReadAtFn read = [&b](std::uint64_t offset, std::span<std::uint8_t> out) {
      if (offset > b.size() || out.size() > b.size() - offset) return false;
      std::copy_n(b.begin() + std::ptrdiff_t(offset), out.size(), out.begin());
      return true;
    };
    return FindElfSection(read, b.size(), kVersionSectionName);
  };
  ASSERT_TRUE(find(elf));
  EXPECT_EQ(find(elf)->size, 16u);
  struct Case {
    const char* what;
    std::size_t at;
    std::uint8_t value;
  };
  const std::size_t sh = elf.size() - 3 * 64;  // section headers at the end
  const Case cases[] = {
      {"section header offset", 0x28 + 7, 0x80},         {"entry size too small", 0x3A, 8},
      {"name table index beyond count", 0x3E, 9},        {"data offset beyond file", sh + 64 + 24 + 5, 0x10},
      {"data size beyond file", sh + 64 + 32 + 4, 0x10}, {"class", 4, 3},
  };
  for (const Case& c : cases) {
    Bytes b = elf;
    b[c.at] = c.value;
    EXPECT_FALSE(find(b)) << c.what;
  }
}

}  // namespace
}  // namespace dorvane::version
