#pragma once
// Writes small ELF files holding one named section, so that the version
// lookup can be tried on program files other than the running one.
#include <cstdint>
#include <string>
#include <vector>

namespace dorvane::testsupport {

struct ElfLayout {
  bool is64 = true;
  bool bigEndian = false;
};

// The bytes of an ELF file with the sections "" (null), `name` holding
// `data`, and ".shstrtab".
std::vector<std::uint8_t> MakeElf(const std::string& name, const std::vector<std::uint8_t>& data,
                                  ElfLayout layout = {});

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace dorvane::testsupport
