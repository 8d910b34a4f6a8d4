// The version record reader on arbitrary bytes: as a version block, and as a
// program file in which the block's section is looked for.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "version/version_record.h"

using namespace dorvane::version;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);

  for (std::u16string_view key : {u"ProductVersion", u"LegalCopyright", u"Comments", u""}) {
    const std::u16string value = FindVersionString(bytes, key);
    if (value.size() > kMaxVersionValue) __builtin_trap();
  }
  if (const auto v = QueryVersionValue(bytes, u"\\StringFileInfo\\040904E4\\Comments")) {
    if (v->bytes.data() < data || v->bytes.data() + v->bytes.size() > data + size) __builtin_trap();
  }

  const ReadAtFn read = [bytes](std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > bytes.size() || out.size() > bytes.size() - offset) return false;
    std::copy_n(bytes.begin() + std::ptrdiff_t(offset), out.size(), out.begin());
    return true;
  };
  if (const auto section = FindElfSection(read, size, kVersionSectionName)) {
    if (section->offset > size || section->size > size - section->offset) __builtin_trap();
    FindVersionString(bytes.subspan(std::size_t(section->offset), std::size_t(section->size)), u"Comments");
  }
  return 0;
}
