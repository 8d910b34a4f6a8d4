// What tests/windows/e2e.sh reads from Windows itself, under Wine:
//   windows_probe clipboard emf|emf-without-text|dib OUT.bmp
//     the system clipboard's enhanced metafile played back into a white
//     344 x 320 bitmap (without its text records), or its device-independent
//     bitmap, written as a BMP file; prints the metafile's frame in pixels;
//   windows_probe console CODEPAGE OUT.txt PROGRAM [ARGUMENTS...]
//     runs PROGRAM in a console of its own whose code page is CODEPAGE, and
//     writes what the console shows (UTF-8) and its code page afterwards.
// Exit status: 0, the program's own status, or 1 when something is missing.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool WriteBmp(const char* path, const BITMAPINFOHEADER& header, const void* bits, size_t bitsSize) {
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = DWORD(sizeof file + header.biSize);
  file.bfSize = DWORD(file.bfOffBits + bitsSize);
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                  std::fwrite(&header, header.biSize, 1, out) == 1 &&
                  std::fwrite(bits, 1, bitsSize, out) == bitsSize;
  return std::fclose(out) == 0 && ok;
}

bool OpenClipboardSoon() {
  for (int i = 0; i < 50; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(100);
  }
  return false;
}

int PlayMetafile(const char* out, bool text) {
  HENHMETAFILE metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
  if (!metafile) {
    std::fprintf(stderr, "no CF_ENHMETAFILE on the clipboard\n");
    return 1;
  }
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(metafile, sizeof header, &header);
  std::printf(
      "frame %.2f x %.2f pixels, %lu records, %lu bytes\n",
      (header.rclFrame.right - header.rclFrame.left) / 100.0 * header.szlDevice.cx / header.szlMillimeters.cx,
      (header.rclFrame.bottom - header.rclFrame.top) / 100.0 * header.szlDevice.cy / header.szlMillimeters.cy,
      header.nRecords, header.nBytes);
  const int width = 344, height = 320;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, width, height, WHITENESS);
  const RECT frame{0, 0, width, height};
  if (text) {
    PlayEnhMetaFile(dc, metafile, &frame);
  } else {
    EnumEnhMetaFile(
        dc, metafile,
        [](HDC hdc, HANDLETABLE* table, const ENHMETARECORD* record, int n, LPARAM) {
          if (record->iType != EMR_EXTTEXTOUTW && record->iType != EMR_EXTTEXTOUTA)
            PlayEnhMetaFileRecord(hdc, table, record, UINT(n));
          return 1;
        },
        nullptr, &frame);
  }
  GdiFlush();
  return WriteBmp(out, info.bmiHeader, bits, size_t(width) * height * 4) ? 0 : 1;
}

// A BMP file is the clipboard's block behind a file header.
int SaveDib(const char* out) {
  HANDLE data = GetClipboardData(CF_DIB);
  const auto* header = data ? static_cast<const BITMAPINFOHEADER*>(GlobalLock(data)) : nullptr;
  if (!header) {
    std::fprintf(stderr, "no CF_DIB on the clipboard\n");
    return 1;
  }
  size_t colours =
      header->biBitCount <= 8 ? (header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount) : 0;
  if (header->biCompression == BI_BITFIELDS) colours = 3;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = DWORD(sizeof file + header->biSize + colours * sizeof(RGBQUAD));
  file.bfSize = DWORD(sizeof file + GlobalSize(data));
  std::FILE* stream = std::fopen(out, "wb");
  bool ok = stream && std::fwrite(&file, sizeof file, 1, stream) == 1 &&
            std::fwrite(header, 1, GlobalSize(data), stream) == GlobalSize(data);
  if (stream) ok = std::fclose(stream) == 0 && ok;
  GlobalUnlock(data);
  return ok ? 0 : 1;
}

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

int RunInConsole(UINT codePage, const char* out, int argc, wchar_t** argv, int first) {
  FreeConsole();
  if (!AllocConsole()) return 1;
  SetConsoleOutputCP(codePage);
  HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
  // Wide enough for every line of the help.
  SetConsoleScreenBufferSize(console, COORD{200, 300});
  std::wstring command;
  for (int i = first; i < argc; ++i) command += (i > first ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return 1;
  WaitForSingleObject(process.hProcess, 60000);
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(console, &info);
  std::string shown;
  for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
    std::wstring row(size_t(info.dwSize.X), L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(console, row.data(), DWORD(row.size()), COORD{0, y}, &read);
    row.resize(read);
    row.erase(row.find_last_not_of(L' ') + 1);
    if (y < info.dwCursorPosition.Y || !row.empty()) shown += Utf8(row) + "\n";
  }
  std::FILE* file = std::fopen(out, "wb");
  if (!file) return 1;
  std::fprintf(file, "code page %u\n%s", GetConsoleOutputCP(), shown.c_str());
  std::fclose(file);
  return int(status);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const auto arg = [&](int i) { return i < argc ? Utf8(argv[i]) : std::string(); };
  if (arg(1) == "clipboard" && argc == 4) {
    if (!OpenClipboardSoon()) return 1;
    const std::string kind = arg(2), out = arg(3);
    const int status = kind == "dib" ? SaveDib(out.c_str()) : PlayMetafile(out.c_str(), kind == "emf");
    CloseClipboard();
    return status;
  }
  if (arg(1) == "console" && argc >= 5)
    return RunInConsole(UINT(std::stoul(arg(2))), arg(3).c_str(), argc, argv, 4);
  std::fprintf(stderr,
               "usage: windows_probe clipboard emf|emf-without-text|dib OUT.bmp\n"
               "       windows_probe console CODEPAGE OUT.txt PROGRAM [ARGUMENTS...]\n");
  return 2;
}
