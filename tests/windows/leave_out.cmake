# Test cases that the run under Wine leaves out, per test program (GoogleTest
# filter patterns), each with its reason.
set(DORVANE_WINDOWS_LEAVE_OUT_dorvane_version_tests
  # They write ELF program files; Windows reads version resources from PE files.
  "VersionFile.*" "ElfSection.*")
