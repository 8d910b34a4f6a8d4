#include "support/elf_file.h"

#include <fstream>

namespace dorvane::testsupport {

namespace {

struct Writer {
  std::vector<std::uint8_t>& out;
  bool big;
  void put(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      const int shift = 8 * (big ? bytes - 1 - i : i);
      out.push_back(std::uint8_t(v >> shift));
    }
  }
};

}  // namespace

std::vector<std::uint8_t> MakeElf(const std::string& name, const std::vector<std::uint8_t>& data,
                                  ElfLayout layout) {
  const int word = layout.is64 ? 8 : 4;
  const std::uint64_t headerSize = layout.is64 ? 64 : 52;
  const std::uint64_t entrySize = layout.is64 ? 64 : 40;

  std::string names;
  names.push_back('\0');
  const std::uint64_t nameAt = names.size();
  names += name + '\0';
  const std::uint64_t strtabNameAt = names.size();
  names += std::string(".shstrtab") + '\0';

  const std::uint64_t dataAt = headerSize;
  const std::uint64_t namesAt = dataAt + data.size();
  std::uint64_t shoff = namesAt + names.size();
  shoff = (shoff + 7) & ~std::uint64_t(7);

  // e_ident: magic, class, byte order, version, zero padding to 16 bytes.
  std::vector<std::uint8_t> out(16, 0);
  const std::uint8_t ident[] = {
      0x7F, 'E', 'L', 'F', std::uint8_t(layout.is64 ? 2 : 1), std::uint8_t(layout.bigEndian ? 2 : 1), 1};
  std::copy(std::begin(ident), std::end(ident), out.begin());
  Writer w{out, layout.bigEndian};
  w.put(2, 2);     // e_type: executable
  w.put(0x3E, 2);  // e_machine
  w.put(1, 4);     // e_version
  w.put(0, word);  // e_entry
  w.put(0, word);  // e_phoff
  w.put(shoff, word);
  w.put(0, 4);  // e_flags
  w.put(headerSize, 2);
  w.put(0, 2);  // e_phentsize
  w.put(0, 2);  // e_phnum
  w.put(entrySize, 2);
  w.put(3, 2);  // e_shnum
  w.put(2, 2);  // e_shstrndx
  out.insert(out.end(), data.begin(), data.end());
  out.insert(out.end(), names.begin(), names.end());
  out.resize(shoff, 0);

  const auto section = [&](std::uint64_t nm, std::uint64_t type, std::uint64_t offset, std::uint64_t size) {
    w.put(nm, 4);
    w.put(type, 4);
    w.put(0, word);  // flags
    w.put(0, word);  // addr
    w.put(offset, word);
    w.put(size, word);
    w.put(0, 4);  // link
    w.put(0, 4);  // info
    w.put(1, word);
    w.put(0, word);
  };
  section(0, 0, 0, 0);
  section(nameAt, 1, dataAt, data.size());
  section(strtabNameAt, 3, namesAt, names.size());
  return out;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace dorvane::testsupport
