// The system's save dialog (IFileSaveDialog). The program judges the name
// typed in the dialog's OnFileOk event, which keeps the dialog open (S_FALSE)
// for a name refused or a file the user does not want replaced; the system
// adds no extension and asks nothing by itself.
#include "platform/save_dialog.h"

#include <shobjidl.h>
#include <windows.h>

#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QWidget>
#include <vector>

namespace dorvane::platform {
namespace {

std::wstring Wide(const QString& text) {
  return text.toStdWString();
}

// The shell parses paths with backslashes only.
std::wstring WidePath(const QString& path) {
  return QDir::toNativeSeparators(path).toStdWString();
}

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  T** out() {
    reset();
    return &p_;
  }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

QString Taken(PWSTR text) {
  const QString out = text ? QString::fromWCharArray(text) : QString();
  CoTaskMemFree(text);
  return out;
}

HWND DialogWindow(IFileDialog* dialog) {
  ComPtr<IOleWindow> window;
  HWND hwnd = nullptr;
  if (SUCCEEDED(dialog->QueryInterface(IID_PPV_ARGS(window.out())))) window->GetWindow(&hwnd);
  return hwnd;
}

class Events final : public IFileDialogEvents {
 public:
  explicit Events(const SaveDialogRequest& request) : request_(request) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (!out) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IFileDialogEvents)) {
      *out = static_cast<IFileDialogEvents*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the stack of the dialog's run, which outlasts every use.
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog* dialog) override {
    PWSTR typed = nullptr;
    dialog->GetFileName(&typed);
    const QString name = Taken(typed);
    QString folder;
    ComPtr<IShellItem> item;
    PWSTR path = nullptr;
    if (SUCCEEDED(dialog->GetFolder(item.out())) && SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)))
      folder = Taken(path);
    UINT index = 1;
    dialog->GetFileTypeIndex(&index);
    const QString filter = request_.filters.value(int(index) - 1);
    const SaveNameVerdict verdict = request_.judge(name, folder, filter);
    const HWND owner = DialogWindow(dialog);
    switch (verdict.kind) {
      case SaveNameVerdict::Accept:
        return S_OK;
      case SaveNameVerdict::Refuse:
        MessageBoxW(owner, Wide(verdict.text).c_str(), Wide(request_.messageTitle).c_str(),
                    MB_OK | MB_ICONWARNING);
        return S_FALSE;
      case SaveNameVerdict::AskToReplace:
        return MessageBoxW(owner, Wide(verdict.text).c_str(), Wide(request_.caption).c_str(),
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES
                   ? S_OK
                   : S_FALSE;
      case SaveNameVerdict::OpenFolder: {
        ComPtr<IShellItem> target;
        if (SUCCEEDED(SHCreateItemFromParsingName(WidePath(verdict.text).c_str(), nullptr,
                                                  IID_PPV_ARGS(target.out()))))
          dialog->SetFolder(target.get());
        dialog->SetFileName(L"");
        return S_FALSE;
      }
      case SaveNameVerdict::Ignore:
        break;
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*,
                                             FDE_SHAREVIOLATION_RESPONSE*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override {
    return E_NOTIMPL;
  }

 private:
  const SaveDialogRequest& request_;
};

}  // namespace

std::optional<bool> RunSystemSaveDialog(const SaveDialogRequest& request) {
  // Only with the system's own windows (not the test platforms).
  if (QGuiApplication::platformName() != QLatin1String("windows")) return std::nullopt;
  ComPtr<IFileSaveDialog> dialog;
  if (FAILED(
          CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.out()))))
    return std::nullopt;
  // "Image PNG (*.png)": shown as it is, its pattern between the brackets.
  static const QRegularExpression kPattern(QStringLiteral(R"(\(([^)]*)\)\s*$)"));
  std::vector<std::wstring> names, patterns;
  for (const QString& f : request.filters) {
    names.push_back(Wide(f));
    patterns.push_back(Wide(kPattern.match(f).captured(1)));
  }
  std::vector<COMDLG_FILTERSPEC> specs;
  for (size_t i = 0; i < names.size(); ++i) specs.push_back({names[i].c_str(), patterns[i].c_str()});
  dialog->SetFileTypes(UINT(specs.size()), specs.data());
  dialog->SetFileTypeIndex(1);
  dialog->SetTitle(Wide(request.caption).c_str());
  dialog->SetFileName(Wide(request.name).c_str());
  ComPtr<IShellItem> folder;
  if (SUCCEEDED(
          SHCreateItemFromParsingName(WidePath(request.folder).c_str(), nullptr, IID_PPV_ARGS(folder.out()))))
    dialog->SetFolder(folder.get());
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  // The program asks before replacing, says why a name will not do and
  // adds the extension itself.
  options &= ~(FOS_OVERWRITEPROMPT | FOS_NOREADONLYRETURN | FOS_PATHMUSTEXIST | FOS_STRICTFILETYPES);
  options |= FOS_FORCEFILESYSTEM | FOS_NOTESTFILECREATE;
  dialog->SetOptions(options);
  Events events(request);
  DWORD cookie = 0;
  dialog->Advise(&events, &cookie);
  HWND owner = nullptr;
  if (request.parent) owner = reinterpret_cast<HWND>(request.parent->window()->winId());
  const HRESULT shown = dialog->Show(owner);
  dialog->Unadvise(cookie);
  return SUCCEEDED(shown);
}

}  // namespace dorvane::platform
