#include "version/version_record.h"

#include <algorithm>

namespace dorvane::version {

namespace {

// --- blocks -----------------------------------------------------------------

constexpr std::size_t kHeader = 6;  // length, value length, type

constexpr std::size_t Align4(std::size_t v) {
  return (v + 3) & ~std::size_t(3);
}

std::uint16_t Read16(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint16_t(b[at] | (b[at + 1] << 8));
}

struct Node {
  std::size_t end = 0;  // one past the block's last byte
  bool text = false;
  std::u16string_view::size_type keyAt = 0, keyUnits = 0;
  std::span<const std::uint8_t> value;
  std::size_t children = 0;  // where the first child block starts
};

// Reads the block at `at`, which must lie inside [at, limit). A block whose
// length, key or header runs past the limit is malformed; a value that runs
// past the block is cut at the block's end.
std::optional<Node> ReadNode(std::span<const std::uint8_t> b, std::size_t at, std::size_t limit) {
  if (at > limit || limit - at < kHeader) return std::nullopt;
  const std::size_t length = Read16(b, at);
  if (length < kHeader || length > limit - at) return std::nullopt;
  Node n;
  n.end = at + length;
  const std::size_t valueLength = Read16(b, at + 2);
  n.text = Read16(b, at + 4) == 1;
  n.keyAt = at + kHeader;
  std::size_t p = n.keyAt;
  for (;; p += 2) {
    if (n.end - p < 2) return std::nullopt;  // key without its NUL
    if (Read16(b, p) == 0) break;
  }
  n.keyUnits = (p - n.keyAt) / 2;
  const std::size_t valueAt = std::min(Align4(p + 2), n.end);
  const std::size_t valueBytes = std::min(n.text ? valueLength * 2 : valueLength, n.end - valueAt);
  n.value = b.subspan(valueAt, valueBytes);
  n.children = std::min(Align4(valueAt + valueBytes), n.end);
  return n;
}

char16_t FoldAscii(char16_t c) {
  return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}

bool KeyIs(std::span<const std::uint8_t> b, const Node& n, std::u16string_view key) {
  if (n.keyUnits != key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (FoldAscii(char16_t(Read16(b, n.keyAt + 2 * i))) != FoldAscii(key[i])) return false;
  return true;
}

std::optional<Node> FindChild(std::span<const std::uint8_t> b, const Node& parent, std::u16string_view key) {
  for (std::size_t at = parent.children; at < parent.end && parent.end - at >= kHeader;) {
    const std::optional<Node> child = ReadNode(b, at, parent.end);
    if (!child) return std::nullopt;
    if (KeyIs(b, *child, key)) return child;
    at = Align4(child->end);
  }
  return std::nullopt;
}

// UTF-16 text up to its first NUL, cut so that it never exceeds the buffer of
// kMaxVersionValue units, and never in the middle of a surrogate pair.
std::u16string DecodeText(std::span<const std::uint8_t> bytes) {
  std::u16string s;
  for (std::size_t i = 0; i + 1 < bytes.size() && s.size() < kMaxVersionValue; i += 2) {
    const char16_t c = char16_t(Read16(bytes, i));
    if (c == 0) break;
    s.push_back(c);
  }
  if (s.size() == kMaxVersionValue && s.back() >= 0xD800 && s.back() <= 0xDBFF) s.pop_back();
  return s;
}

// Fixed-width integers of an ELF file, in its own byte order, from bytes
// already read.
struct ElfBytes {
  std::span<const std::uint8_t> bytes;
  bool bigEndian = false;

  std::uint64_t get(std::size_t at, int width) const {
    std::uint64_t v = 0;
    for (int i = 0; i < width; ++i) {
      const std::size_t from = at + std::size_t(bigEndian ? i : width - 1 - i);
      v = (v << 8) | bytes[from];
    }
    return v;
  }
};

}  // namespace

std::optional<VersionValue> QueryVersionValue(std::span<const std::uint8_t> block, std::u16string_view path) {
  std::optional<Node> node = ReadNode(block, 0, std::min(block.size(), kMaxVersionBlock));
  while (node && !path.empty()) {
    const std::size_t start = path.find_first_not_of(u'\\');
    if (start == std::u16string_view::npos) break;
    path.remove_prefix(start);
    const std::size_t stop = std::min(path.find(u'\\'), path.size());
    node = FindChild(block, *node, path.substr(0, stop));
    path.remove_prefix(stop);
  }
  if (!node) return std::nullopt;
  VersionValue v;
  v.text = node->text;
  v.bytes = node->value;
  v.string = DecodeText(node->value);
  return v;
}

std::optional<std::pair<std::uint16_t, std::uint16_t>> VersionTranslation(
    std::span<const std::uint8_t> block) {
  const std::optional<VersionValue> v = QueryVersionValue(block, u"\\VarFileInfo\\Translation");
  if (!v || v->bytes.size() < 4) return std::nullopt;
  return std::pair{Read16(v->bytes, 0), Read16(v->bytes, 2)};
}

std::u16string FindVersionString(std::span<const std::uint8_t> block, std::u16string_view key) {
  const auto translation = VersionTranslation(block);
  std::u16string table(kFallbackStringTable);
  if (translation) {
    const auto name = version_detail::TableName(translation->first, translation->second);
    table.assign(name.begin(), name.end());
  }
  std::u16string path = u"\\StringFileInfo\\" + table + u"\\";
  path += key;
  const std::optional<VersionValue> v = QueryVersionValue(block, path);
  return v ? v->string : std::u16string();
}

std::optional<FileSection> FindElfSection(const ReadAtFn& readAt, std::uint64_t fileSize,
                                          std::string_view name) {
  // Three reads: the file header, the section header table, the name table.
  std::array<std::uint8_t, 64> header{};
  const std::size_t headerSize = std::size_t(std::min<std::uint64_t>(fileSize, header.size()));
  if (headerSize < 52 || !readAt(0, std::span(header.data(), headerSize))) return std::nullopt;
  if (header[0] != 0x7F || header[1] != 'E' || header[2] != 'L' || header[3] != 'F') return std::nullopt;
  const bool is64 = header[4] == 2;
  if ((!is64 && header[4] != 1) || (header[5] != 1 && header[5] != 2)) return std::nullopt;
  if (is64 && headerSize < 64) return std::nullopt;
  const ElfBytes h{std::span(header.data(), headerSize), header[5] == 2};

  const int word = is64 ? 8 : 4;
  const std::uint64_t shoff = h.get(is64 ? 0x28 : 0x20, word);
  const std::uint64_t entrySize = h.get(is64 ? 0x3A : 0x2E, 2);
  std::uint64_t count = h.get(is64 ? 0x3C : 0x30, 2);
  std::uint64_t namesIndex = h.get(is64 ? 0x3E : 0x32, 2);
  const std::uint64_t minEntry = is64 ? 64 : 40;
  constexpr std::uint64_t kNoBits = 8, kXIndex = 0xFFFF, kMaxSections = 0x10000, kMaxNames = 1 << 20;
  if (shoff == 0 || entrySize < minEntry || shoff > fileSize) return std::nullopt;

  struct Section {
    std::uint64_t name, type, offset, size, link;
  };
  std::vector<std::uint8_t> table;
  const auto section = [&](std::uint64_t index) {
    const ElfBytes e{std::span(table).subspan(std::size_t(index * entrySize)), h.bigEndian};
    return Section{e.get(0, 4), e.get(4, 4), e.get(is64 ? 24 : 16, word), e.get(is64 ? 32 : 20, word),
                   e.get(is64 ? 40 : 24, 4)};
  };
  const auto readTable = [&](std::uint64_t n) {
    if (n > kMaxSections || n * entrySize > fileSize - shoff) return false;
    table.resize(std::size_t(n * entrySize));
    return readAt(shoff, table);
  };
  // Very many sections keep their count and the name table's index in the
  // first section header.
  if (count == 0 || namesIndex == kXIndex) {
    if (!readTable(1)) return std::nullopt;
    const Section first = section(0);
    if (count == 0) count = first.size;
    if (namesIndex == kXIndex) namesIndex = first.link;
  }
  if (namesIndex >= count || !readTable(count)) return std::nullopt;

  const Section names = section(namesIndex);
  if (names.type == kNoBits || names.size > kMaxNames || names.offset > fileSize ||
      names.size > fileSize - names.offset)
    return std::nullopt;
  std::vector<std::uint8_t> strings(std::size_t(names.size));
  if (!readAt(names.offset, strings)) return std::nullopt;

  for (std::uint64_t i = 1; i < count; ++i) {
    const Section s = section(i);
    if (s.name >= strings.size() || strings.size() - s.name <= name.size()) continue;
    const auto* at = strings.data() + s.name;
    if (!std::equal(name.begin(), name.end(), at) || at[name.size()] != 0) continue;
    if (s.type == kNoBits || s.offset > fileSize || s.size > fileSize - s.offset) return std::nullopt;
    return FileSection{s.offset, s.size};
  }
  return std::nullopt;
}

}  // namespace dorvane::version
