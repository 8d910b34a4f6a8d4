#pragma once
// The program's version record: the layout of the classic version resource
// (a root "VS_VERSION_INFO" block with the fixed file information, a
// "StringFileInfo" block of string tables keyed like "040C04E4" and a
// "VarFileInfo" block with the translation table), built at compile time into
// its own section of the program file and read back from that file.
//
// Every block is: WORD length, WORD value length, WORD type (0 binary, 1
// text), a NUL-terminated UTF-16 key, padding to 4 bytes, the value, padding
// to 4 bytes, then the child blocks, each starting on a 4-byte boundary.
// Lengths are in bytes, except the value length of a text block, which counts
// UTF-16 units.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvane::version {

// Name of the section of the program file that holds the record.
inline constexpr std::string_view kVersionSectionName = ".dorvane.version";

// The string table used when the record has no translation table.
inline constexpr std::u16string_view kFallbackStringTable = u"040904E4";

// Longest value handed out, in UTF-16 units; longer values are cut there.
inline constexpr std::size_t kMaxVersionValue = 2047;

// A block never exceeds what its 16-bit length can say.
inline constexpr std::size_t kMaxVersionBlock = 0xFFFF;

struct VersionString {
  std::u16string_view key;
  std::u16string_view value;
};

// What a record holds: the fixed versions, the translation and the strings.
struct VersionRecordContents {
  std::array<std::uint16_t, 4> fileVersion{};
  std::array<std::uint16_t, 4> productVersion{};
  std::uint16_t language = 0x040C;
  std::uint16_t codePage = 0x04E4;
  bool withTranslation = true;
  // Name of the string table; empty means language and code page in hex.
  std::u16string_view tableName;
  std::span<const VersionString> strings;
};

namespace version_detail {

constexpr void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v & 0xFF));
  out.push_back(std::uint8_t(v >> 8));
}
constexpr void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, std::uint16_t(v & 0xFFFF));
  Put16(out, std::uint16_t(v >> 16));
}
constexpr void Pad(std::vector<std::uint8_t>& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}
constexpr void Patch16(std::vector<std::uint8_t>& out, std::size_t at, std::size_t v) {
  out[at] = std::uint8_t(v & 0xFF);
  out[at + 1] = std::uint8_t((v >> 8) & 0xFF);
}

// Opens a block: header and key. Returns where it starts.
constexpr std::size_t Open(std::vector<std::uint8_t>& out, std::u16string_view key, std::uint16_t valueLength,
                           std::uint16_t type) {
  Pad(out);
  const std::size_t start = out.size();
  Put16(out, 0);
  Put16(out, valueLength);
  Put16(out, type);
  for (char16_t c : key) Put16(out, std::uint16_t(c));
  Put16(out, 0);
  Pad(out);
  return start;
}
constexpr void Close(std::vector<std::uint8_t>& out, std::size_t start) {
  Patch16(out, start, out.size() - start);
}

constexpr char16_t HexDigit(unsigned v) {
  return char16_t(v < 10 ? u'0' + v : u'A' + (v - 10));
}

// "040C04E4": language then code page, four uppercase hex digits each.
constexpr std::array<char16_t, 8> TableName(std::uint16_t language, std::uint16_t codePage) {
  std::array<char16_t, 8> name{};
  std::size_t i = 0;
  for (std::uint16_t v : {language, codePage})
    for (int shift = 12; shift >= 0; shift -= 4) name[i++] = HexDigit((v >> shift) & 0xF);
  return name;
}

}  // namespace version_detail

// The record as bytes. Usable at compile time (the program's own record) and
// at run time (tests build variants).
constexpr std::vector<std::uint8_t> BuildVersionRecord(const VersionRecordContents& spec) {
  using namespace version_detail;
  std::vector<std::uint8_t> out;
  const std::size_t root = Open(out, u"VS_VERSION_INFO", 52, 0);
  // Fixed file information: signature, structure version, file and product
  // versions (most significant part first), then flags, OS and type, all 0
  // except the OS (32-bit Windows) and type (application) fields.
  Put32(out, 0xFEEF04BD);
  Put32(out, 0x00010000);
  Put32(out, (std::uint32_t(spec.fileVersion[0]) << 16) | spec.fileVersion[1]);
  Put32(out, (std::uint32_t(spec.fileVersion[2]) << 16) | spec.fileVersion[3]);
  Put32(out, (std::uint32_t(spec.productVersion[0]) << 16) | spec.productVersion[1]);
  Put32(out, (std::uint32_t(spec.productVersion[2]) << 16) | spec.productVersion[3]);
  Put32(out, 0x3F);  // flags mask
  Put32(out, 0);     // flags
  Put32(out, 0x40004);
  Put32(out, 1);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);

  const std::size_t sfi = Open(out, u"StringFileInfo", 0, 1);
  const std::array<char16_t, 8> hexName = TableName(spec.language, spec.codePage);
  const std::u16string_view name =
      spec.tableName.empty() ? std::u16string_view(hexName.data(), hexName.size()) : spec.tableName;
  const std::size_t table = Open(out, name, 0, 1);
  for (const VersionString& s : spec.strings) {
    const std::size_t entry = Open(out, s.key, std::uint16_t(s.value.size() + 1), 1);
    for (char16_t c : s.value) Put16(out, std::uint16_t(c));
    Put16(out, 0);
    Close(out, entry);
  }
  Close(out, table);
  Close(out, sfi);

  if (spec.withTranslation) {
    const std::size_t vfi = Open(out, u"VarFileInfo", 0, 1);
    const std::size_t var = Open(out, u"Translation", 4, 0);
    Put16(out, spec.language);
    Put16(out, spec.codePage);
    Close(out, var);
    Close(out, vfi);
  }
  Close(out, root);
  return out;
}

// The same as a fixed-size array, for the record placed in the program file.
template <typename SpecFn>
consteval auto BuildVersionRecordArray(SpecFn specFn) {
  constexpr std::size_t size = BuildVersionRecord(SpecFn{}()).size();
  static_assert(size <= kMaxVersionBlock, "version record too large");
  std::array<std::uint8_t, size> bytes{};
  const std::vector<std::uint8_t> built = BuildVersionRecord(specFn());
  for (std::size_t i = 0; i < size; ++i) bytes[i] = built[i];
  return bytes;
}

// --- reading --------------------------------------------------------------

// A value looked up by a path of keys ("\StringFileInfo\040C04E4\Comments").
// Text values stop at their first NUL and are cut at kMaxVersionValue units.
struct VersionValue {
  bool text = false;
  std::span<const std::uint8_t> bytes;  // binary value
  std::u16string string;                // text value
};

// Finds the block named by the path in the record; an empty path names the
// root's value. Keys compare without regard to ASCII case. Malformed or
// truncated data gives nullopt, never a read outside the block.
std::optional<VersionValue> QueryVersionValue(std::span<const std::uint8_t> block, std::u16string_view path);

// The first entry of the translation table as (language, code page).
std::optional<std::pair<std::uint16_t, std::uint16_t>> VersionTranslation(
    std::span<const std::uint8_t> block);

// Value of a string entry, following the translation table or the fallback
// table; empty when not found.
std::u16string FindVersionString(std::span<const std::uint8_t> block, std::u16string_view key);

// Reads at most `size` bytes at `offset` into `out`; false when it cannot.
using ReadAtFn = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> out)>;

struct FileSection {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};
// Finds a section by name in an ELF file (32 or 64 bits, either byte order).
std::optional<FileSection> FindElfSection(const ReadAtFn& readAt, std::uint64_t fileSize,
                                          std::string_view name);

// The running program's own file (on Windows, the empty path names it).
// These four are each platform's own (src/platform/version_file_*.cpp).
extern const char* const kOwnProgramFile;

// Size of the version block of a program file; 0 when it has none.
std::size_t VersionInfoSize(const std::string& path);
// Reads the version block; empty when it is gone or unreadable.
std::vector<std::uint8_t> ReadVersionInfo(const std::string& path, std::size_t size);

// The whole lookup: size, read, translation, key, release. Nothing is cached.
std::u16string LookupVersionString(std::u16string_view key, const std::string& path = kOwnProgramFile);

}  // namespace dorvane::version
