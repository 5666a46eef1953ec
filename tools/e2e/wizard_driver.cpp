// Drives the installer's windows from outside, through plain Win32 calls, for the Wine end-to-end
// tests. Every command prints line-oriented results that a shell script can grep:
//
//   window hwnd=0x20060 class="#32770" caption="Wizard--Select Language" rect=10,20,330,190
//   control id=1008 class="ComboBox" text="" visible=1 enabled=1 checked=0 parent=0x20060
//   item index=0 text="中文"          (combo box entries, then: selected index=1)
//   text id=1045 value="Please select language:"
//   column index=0 text="Port" width=120     row index=0 selected=1 col0="USB001" col1="..."
//   msgbox caption="..." text="..." owner="..." buttons=1,2
//
// Usage: wizard_driver <command> [window filters] [arguments]
//   Window filters (all given must hold; the first visible match in z-order is taken):
//     --caption SUB   caption contains SUB        --title TEXT    caption equals TEXT
//     --class NAME    window class NAME           --with-id N     has a descendant with id N
//     --without-id N  has no descendant with id N --hwnd 0xH      that window
//     --timeout MS    wait that long (default 10000)
//   A control is "ID" or "ID:CLASS" (direct children first, then deeper descendants).
//
// Commands:
//   windows                          list visible top-level windows
//   find WIN                         wait for a window and print it
//   controls WIN                     list every descendant control
//   text WIN CTRL                    print a control's text
//   combo WIN CTRL                   print a combo box's entries and selection
//   select WIN CTRL INDEX|=TEXT      select a combo entry and notify the parent (CBN_SELCHANGE)
//   listview WIN CTRL                print a list view's columns and rows
//   select-row WIN CTRL INDEX        select and focus a list-view row
//   click WIN CTRL                   press an enabled, visible button (posted WM_COMMAND)
//   check WIN CTRL 0|1               set a check box and notify the parent
//   set-text WIN CTRL TEXT           set a control's text (WM_SETTEXT)
//   key WIN CTRL VK                  post a key press (virtual-key code) to a control
//   close WIN                        post WM_CLOSE (the close box)
//   move WIN X Y                     move a window (e.g. to uncover another for a screenshot)
//   redraw WIN                       invalidate a window and its children and repaint them now
//   msgbox [WIN] [--press ID]        wait for a message box (a dialog with the text control 65535
//                                    and at most 8 controls), print it, press ID (default: first)
//   wait-gone WIN                    wait until no window matches
//   processes                        list running processes
//   wait-exit IMAGE [--timeout MS]   wait until no process runs the image (e.g. Setup.exe)
// What an installation left, read through the system's own API:
//   printers                         local queues (name, port, driver)
//   printer-data PRINTER NAME...     printer data values of a queue
//   default-printer                  the default printer's name
//   drivers [ENVIRONMENT]            printer drivers (default: this machine's environment)
//   ports                            the spooler's ports (name, monitor, description)
//   reg KEY                          values and subkeys of a key, e.g. HKLM\SOFTWARE\Name
//   shortcut FILE                    target and working directory of a shell link
//   service NAME                     a service's program, start type and state
// Exit status: 0 done, 1 not found or timed out, 2 usage error, 3 the action was refused.

#include <windows.h>
// windows.h first.
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>
#include <winspool.h>

#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;
constexpr int kRefused = 3;
constexpr UINT kSendTimeoutMs = 5000;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr size_t kMessageBoxMaxControls = 8;  // text, icon and up to four buttons, with room

// ---- output ----------------------------------------------------------------------------------

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

void WriteOut(const std::string& line) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void WriteErr(const std::string& line) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  std::string text = "wizard_driver: " + line + "\n";
  DWORD written = 0;
  WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// A value in double quotes; quote, backslash and control characters escaped.
std::string Quoted(const std::wstring& value) {
  std::wstring escaped = L"\"";
  for (wchar_t c : value) {
    switch (c) {
      case L'"':
        escaped += L"\\\"";
        break;
      case L'\\':
        escaped += L"\\\\";
        break;
      case L'\n':
        escaped += L"\\n";
        break;
      case L'\r':
        escaped += L"\\r";
        break;
      case L'\t':
        escaped += L"\\t";
        break;
      default:
        if (c < 0x20) {
          wchar_t hex[8];
          swprintf(hex, 8, L"\\x%02x", static_cast<unsigned>(c));
          escaped += hex;
        } else {
          escaped += c;
        }
    }
  }
  escaped += L"\"";
  return ToUtf8(escaped);
}

std::string Hex(HWND hwnd) {
  char buffer[32];
  snprintf(buffer, sizeof buffer, "0x%llx",
           static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hwnd)));
  return buffer;
}

// ---- small handle owners ---------------------------------------------------------------------

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (valid()) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// A block of memory inside the process that owns a window, for messages whose pointers the
// system does not carry across processes (list-view items and columns).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND owner, size_t size) : process_(OpenOwner(owner)), size_(size) {
    if (process_.valid()) {
      base_ =
          VirtualAllocEx(process_.get(), nullptr, size_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  ~RemoteBuffer() {
    if (base_ != nullptr) VirtualFreeEx(process_.get(), base_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool valid() const { return base_ != nullptr; }
  void* At(size_t offset) const { return static_cast<char*>(base_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) {
    SIZE_T done = 0;
    return offset + size <= size_ &&
           WriteProcessMemory(process_.get(), At(offset), data, size, &done) && done == size;
  }
  bool Read(size_t offset, void* data, size_t size) const {
    SIZE_T done = 0;
    return offset + size <= size_ &&
           ReadProcessMemory(process_.get(), At(offset), data, size, &done) && done == size;
  }

 private:
  static HANDLE OpenOwner(HWND owner) {
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    return OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  }

  OwnedHandle process_;
  size_t size_;
  void* base_ = nullptr;
};

// ---- window queries --------------------------------------------------------------------------

LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  int length = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring TextOf(HWND hwnd) {
  LRESULT length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = Send(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  if (got < 0) got = 0;
  if (static_cast<size_t>(got) > static_cast<size_t>(length)) got = length;
  return std::wstring(buffer.data(), static_cast<size_t>(got));
}

std::string RectOf(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  char buffer[96];
  snprintf(buffer, sizeof buffer, "%ld,%ld,%ld,%ld", static_cast<long>(r.left),
           static_cast<long>(r.top), static_cast<long>(r.right - r.left),
           static_cast<long>(r.bottom - r.top));
  return buffer;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool HasDescendantId(HWND window, int id) {
  for (HWND child : Descendants(window)) {
    if (GetDlgCtrlID(child) == id) return true;
  }
  return false;
}

std::string WindowLine(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return "window hwnd=" + Hex(hwnd) + " class=" + Quoted(ClassOf(hwnd)) +
         " caption=" + Quoted(TextOf(hwnd)) + " rect=" + RectOf(hwnd) +
         " pid=" + std::to_string(pid);
}

// ---- command line ----------------------------------------------------------------------------

struct WindowFilter {
  std::optional<std::wstring> captionPart;
  std::optional<std::wstring> title;
  std::optional<std::wstring> className;
  std::optional<int> withId;
  std::optional<int> withoutId;
  std::optional<size_t> maxControls;
  std::optional<HWND> hwnd;
  DWORD timeoutMs = 10000;
  std::optional<int> press;  // msgbox only

  bool Matches(HWND window) const {
    if (hwnd && window != *hwnd) return false;
    if (!IsWindowVisible(window)) return false;
    if (className && _wcsicmp(ClassOf(window).c_str(), className->c_str()) != 0) return false;
    if (captionPart || title) {
      std::wstring caption = TextOf(window);
      if (captionPart && caption.find(*captionPart) == std::wstring::npos) return false;
      if (title && caption != *title) return false;
    }
    if (withId && !HasDescendantId(window, *withId)) return false;
    if (withoutId && HasDescendantId(window, *withoutId)) return false;
    if (maxControls && Descendants(window).size() > *maxControls) return false;
    return true;
  }
};

bool ParseInt(const std::wstring& text, long long* value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  long long parsed = wcstoll(text.c_str(), &end, 0);
  if (end == nullptr || *end != L'\0') return false;
  *value = parsed;
  return true;
}

// Splits the arguments after the command into window filters and positional arguments.
bool ParseArguments(const std::vector<std::wstring>& args, WindowFilter* filter,
                    std::vector<std::wstring>* positional) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    bool takesValue = arg == L"--caption" || arg == L"--title" || arg == L"--class" ||
                      arg == L"--with-id" || arg == L"--without-id" || arg == L"--hwnd" ||
                      arg == L"--timeout" || arg == L"--press";
    if (!takesValue) {
      if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
        WriteErr("unknown option " + ToUtf8(arg));
        return false;
      }
      positional->push_back(arg);
      continue;
    }
    if (i + 1 >= args.size()) {
      WriteErr("option " + ToUtf8(arg) + " needs a value");
      return false;
    }
    const std::wstring& value = args[++i];
    long long number = 0;
    bool numeric = ParseInt(value, &number);
    if (arg == L"--caption") {
      filter->captionPart = value;
    } else if (arg == L"--title") {
      filter->title = value;
    } else if (arg == L"--class") {
      filter->className = value;
    } else if (!numeric || number < 0) {
      WriteErr("option " + ToUtf8(arg) + " needs a number");
      return false;
    } else if (arg == L"--with-id") {
      filter->withId = static_cast<int>(number);
    } else if (arg == L"--without-id") {
      filter->withoutId = static_cast<int>(number);
    } else if (arg == L"--hwnd") {
      filter->hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(number));
    } else if (arg == L"--timeout") {
      filter->timeoutMs = static_cast<DWORD>(number);
    } else {
      filter->press = static_cast<int>(number);
    }
  }
  return true;
}

HWND FindNow(const WindowFilter& filter) {
  for (HWND window : TopLevelWindows()) {
    if (filter.Matches(window)) return window;
  }
  return nullptr;
}

HWND WaitForWindow(const WindowFilter& filter) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindNow(filter)) return window;
    if (GetTickCount() - start >= filter.timeoutMs) return nullptr;
    Sleep(100);
  }
}

// "ID" or "ID:CLASS". Direct children come first (as GetDlgItem finds them), then deeper ones.
HWND FindControl(HWND window, const std::wstring& spec) {
  size_t colon = spec.find(L':');
  std::wstring idText = spec.substr(0, colon);
  std::wstring className = colon == std::wstring::npos ? L"" : spec.substr(colon + 1);
  long long id = 0;
  if (!ParseInt(idText, &id)) return nullptr;
  auto fits = [&](HWND child) {
    return GetDlgCtrlID(child) == id &&
           (className.empty() || _wcsicmp(ClassOf(child).c_str(), className.c_str()) == 0);
  };
  std::vector<HWND> all = Descendants(window);
  for (HWND child : all) {
    if (GetParent(child) == window && fits(child)) return child;
  }
  for (HWND child : all) {
    if (fits(child)) return child;
  }
  return nullptr;
}

// ---- commands --------------------------------------------------------------------------------

struct Context {
  WindowFilter filter;
  std::vector<std::wstring> args;
  HWND window = nullptr;
};

int NeedWindow(Context* context) {
  context->window = WaitForWindow(context->filter);
  if (context->window == nullptr) {
    WriteErr("no window matches within " + std::to_string(context->filter.timeoutMs) + " ms");
    return kNotFound;
  }
  return kOk;
}

// Resolves the window and the control named by the first positional argument.
int NeedControl(Context* context, HWND* control) {
  if (context->args.empty()) {
    WriteErr("a control id is needed");
    return kUsage;
  }
  if (int status = NeedWindow(context)) return status;
  *control = FindControl(context->window, context->args[0]);
  if (*control == nullptr) {
    WriteErr("no control " + ToUtf8(context->args[0]) + " in " + Hex(context->window));
    return kNotFound;
  }
  return kOk;
}

int CmdWindows(Context*) {
  for (HWND window : TopLevelWindows()) {
    if (IsWindowVisible(window)) WriteOut(WindowLine(window));
  }
  return kOk;
}

int CmdFind(Context* context) {
  if (int status = NeedWindow(context)) return status;
  WriteOut(WindowLine(context->window));
  return kOk;
}

int CmdControls(Context* context) {
  if (int status = NeedWindow(context)) return status;
  WriteOut(WindowLine(context->window));
  for (HWND child : Descendants(context->window)) {
    std::wstring className = ClassOf(child);
    LRESULT checked =
        _wcsicmp(className.c_str(), L"Button") == 0 ? Send(child, BM_GETCHECK, 0, 0) : 0;
    WriteOut("control id=" + std::to_string(GetDlgCtrlID(child)) + " class=" + Quoted(className) +
             " text=" + Quoted(TextOf(child)) + " visible=" + (IsWindowVisible(child) ? "1" : "0") +
             " enabled=" + (IsWindowEnabled(child) ? "1" : "0") +
             " checked=" + std::to_string(checked) + " parent=" + Hex(GetParent(child)) +
             " rect=" + RectOf(child));
  }
  return kOk;
}

int CmdText(Context* context) {
  HWND control = nullptr;
  if (int status = NeedControl(context, &control)) return status;
  WriteOut("text id=" + std::to_string(GetDlgCtrlID(control)) +
           " value=" + Quoted(TextOf(control)));
  return kOk;
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text;
    if (length > 0) {
      std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
      LRESULT got = Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(buffer.data()));
      if (got > 0 && got <= length) text.assign(buffer.data(), static_cast<size_t>(got));
    }
    items.push_back(text);
  }
  return items;
}

int CmdCombo(Context* context) {
  HWND combo = nullptr;
  if (int status = NeedControl(context, &combo)) return status;
  std::vector<std::wstring> items = ComboItems(combo);
  for (size_t i = 0; i < items.size(); ++i) {
    WriteOut("item index=" + std::to_string(i) + " text=" + Quoted(items[i]));
  }
  LRESULT selected = Send(combo, CB_GETCURSEL, 0, 0);
  WriteOut("selected index=" + std::to_string(static_cast<long long>(selected)) +
           " count=" + std::to_string(items.size()));
  return kOk;
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  WPARAM wparam = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code);
  PostMessageW(parent, WM_COMMAND, wparam, reinterpret_cast<LPARAM>(control));
}

bool Actionable(HWND control) {
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
    WriteErr("control " + Hex(control) + " is hidden or disabled");
    return false;
  }
  return true;
}

int CmdSelect(Context* context) {
  HWND combo = nullptr;
  if (context->args.size() != 2) {
    WriteErr("select needs a control and an index or =text");
    return kUsage;
  }
  if (int status = NeedControl(context, &combo)) return status;
  if (!Actionable(combo)) return kRefused;
  const std::wstring& choice = context->args[1];
  std::vector<std::wstring> items = ComboItems(combo);
  long long index = -1;
  if (!choice.empty() && choice[0] == L'=') {
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i] == choice.substr(1)) index = static_cast<long long>(i);
    }
  } else if (!ParseInt(choice, &index)) {
    index = -1;
  }
  if (index < 0 || index >= static_cast<long long>(items.size())) {
    WriteErr("no entry " + ToUtf8(choice));
    return kNotFound;
  }
  Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  NotifyParent(combo, CBN_SELCHANGE);
  WriteOut("selected index=" + std::to_string(index) +
           " text=" + Quoted(items[static_cast<size_t>(index)]));
  return kOk;
}

constexpr size_t kRemoteTextChars = 1024;
constexpr size_t kRemoteTextOffset = 256;  // after the item or column structure

int CmdListView(Context* context) {
  HWND view = nullptr;
  if (int status = NeedControl(context, &view)) return status;
  RemoteBuffer remote(view, kRemoteTextOffset + kRemoteTextChars * sizeof(wchar_t));
  if (!remote.valid()) {
    WriteErr("cannot reach the list view's process");
    return kRefused;
  }
  auto remoteText = [&]() {
    std::vector<wchar_t> text(kRemoteTextChars, L'\0');
    remote.Read(kRemoteTextOffset, text.data(), text.size() * sizeof(wchar_t));
    text.back() = L'\0';
    return std::wstring(text.data());
  };
  auto clearText = [&]() {
    std::vector<wchar_t> zeros(kRemoteTextChars, L'\0');
    remote.Write(kRemoteTextOffset, zeros.data(), zeros.size() * sizeof(wchar_t));
  };
  HWND header = reinterpret_cast<HWND>(Send(view, LVM_GETHEADER, 0, 0));
  LRESULT columns = header != nullptr ? Send(header, HDM_GETITEMCOUNT, 0, 0) : 0;
  if (columns < 0) columns = 0;
  for (LRESULT c = 0; c < columns; ++c) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = static_cast<wchar_t*>(remote.At(kRemoteTextOffset));
    column.cchTextMax = static_cast<int>(kRemoteTextChars);
    clearText();
    remote.Write(0, &column, sizeof column);
    Send(view, LVM_GETCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(remote.At(0)));
    remote.Read(0, &column, sizeof column);
    WriteOut("column index=" + std::to_string(c) + " text=" + Quoted(remoteText()) +
             " width=" + std::to_string(column.cx));
  }
  LRESULT rows = Send(view, LVM_GETITEMCOUNT, 0, 0);
  for (LRESULT r = 0; r < rows; ++r) {
    LRESULT state = Send(view, LVM_GETITEMSTATE, static_cast<WPARAM>(r), LVIS_SELECTED);
    std::string line = "row index=" + std::to_string(r) +
                       " selected=" + ((state & LVIS_SELECTED) != 0 ? "1" : "0");
    for (LRESULT c = 0; c < (columns > 0 ? columns : 1); ++c) {
      LVITEMW item = {};
      item.iSubItem = static_cast<int>(c);
      item.pszText = static_cast<wchar_t*>(remote.At(kRemoteTextOffset));
      item.cchTextMax = static_cast<int>(kRemoteTextChars);
      clearText();
      remote.Write(0, &item, sizeof item);
      Send(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(remote.At(0)));
      line += " col" + std::to_string(c) + "=" + Quoted(remoteText());
    }
    WriteOut(line);
  }
  WriteOut("rows count=" + std::to_string(rows));
  return kOk;
}

int CmdSelectRow(Context* context) {
  HWND view = nullptr;
  long long index = -1;
  if (context->args.size() != 2 || !ParseInt(context->args[1], &index) || index < 0) {
    WriteErr("select-row needs a control and a row index");
    return kUsage;
  }
  if (int status = NeedControl(context, &view)) return status;
  if (!Actionable(view)) return kRefused;
  if (index >= Send(view, LVM_GETITEMCOUNT, 0, 0)) {
    WriteErr("no row " + std::to_string(index));
    return kNotFound;
  }
  RemoteBuffer remote(view, sizeof(LVITEMW));
  if (!remote.valid()) {
    WriteErr("cannot reach the list view's process");
    return kRefused;
  }
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(0, &item, sizeof item);
  Send(view, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.At(0)));
  LRESULT state = Send(view, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED);
  WriteOut("row index=" + std::to_string(index) +
           " selected=" + ((state & LVIS_SELECTED) != 0 ? "1" : "0"));
  return (state & LVIS_SELECTED) != 0 ? kOk : kRefused;
}

int CmdClick(Context* context) {
  HWND button = nullptr;
  if (int status = NeedControl(context, &button)) return status;
  if (!Actionable(button)) return kRefused;
  // Described before the press: the press may close the window at once.
  std::string line =
      "clicked id=" + std::to_string(GetDlgCtrlID(button)) + " text=" + Quoted(TextOf(button));
  NotifyParent(button, BN_CLICKED);
  WriteOut(line);
  return kOk;
}

int CmdCheck(Context* context) {
  HWND box = nullptr;
  long long value = 0;
  if (context->args.size() != 2 || !ParseInt(context->args[1], &value)) {
    WriteErr("check needs a control and 0 or 1");
    return kUsage;
  }
  if (int status = NeedControl(context, &box)) return status;
  if (!Actionable(box)) return kRefused;
  Send(box, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  NotifyParent(box, BN_CLICKED);
  WriteOut("checked id=" + std::to_string(GetDlgCtrlID(box)) +
           " value=" + std::to_string(Send(box, BM_GETCHECK, 0, 0)));
  return kOk;
}

int CmdSetText(Context* context) {
  HWND control = nullptr;
  if (context->args.size() != 2) {
    WriteErr("set-text needs a control and a text");
    return kUsage;
  }
  if (int status = NeedControl(context, &control)) return status;
  if (!Actionable(control)) return kRefused;
  Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(context->args[1].c_str()));
  WriteOut("text id=" + std::to_string(GetDlgCtrlID(control)) +
           " value=" + Quoted(TextOf(control)));
  return kOk;
}

int CmdKey(Context* context) {
  HWND control = nullptr;
  long long key = 0;
  if (context->args.size() != 2 || !ParseInt(context->args[1], &key) || key <= 0 || key > 0xFE) {
    WriteErr("key needs a control and a virtual-key code");
    return kUsage;
  }
  if (int status = NeedControl(context, &control)) return status;
  if (!Actionable(control)) return kRefused;
  PostMessageW(control, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
  PostMessageW(control, WM_KEYUP, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000001u));
  WriteOut("key id=" + std::to_string(GetDlgCtrlID(control)) + " vk=" + std::to_string(key));
  return kOk;
}

int CmdClose(Context* context) {
  if (int status = NeedWindow(context)) return status;
  PostMessageW(context->window, WM_CLOSE, 0, 0);
  WriteOut("closed hwnd=" + Hex(context->window));
  return kOk;
}

int CmdMove(Context* context) {
  long long x = 0, y = 0;
  if (context->args.size() != 2 || !ParseInt(context->args[0], &x) ||
      !ParseInt(context->args[1], &y)) {
    WriteErr("move needs x and y");
    return kUsage;
  }
  if (int status = NeedWindow(context)) return status;
  SetWindowPos(context->window, nullptr, static_cast<int>(x), static_cast<int>(y), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  WriteOut(WindowLine(context->window));
  return kOk;
}

int CmdRedraw(Context* context) {
  if (int status = NeedWindow(context)) return status;
  RedrawWindow(context->window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  WriteOut("redrawn hwnd=" + Hex(context->window));
  return kOk;
}

int CmdMessageBox(Context* context) {
  if (!context->filter.className) context->filter.className = L"#32770";
  if (!context->filter.withId) context->filter.withId = kMessageBoxTextId;
  if (!context->filter.maxControls) context->filter.maxControls = kMessageBoxMaxControls;
  if (int status = NeedWindow(context)) return status;
  HWND box = context->window;
  HWND textControl = FindControl(box, std::to_wstring(kMessageBoxTextId));
  std::vector<int> buttons;
  for (HWND child : Descendants(box)) {
    if (_wcsicmp(ClassOf(child).c_str(), L"Button") == 0 && IsWindowVisible(child)) {
      buttons.push_back(GetDlgCtrlID(child));
    }
  }
  std::string list;
  for (int id : buttons) list += (list.empty() ? "" : ",") + std::to_string(id);
  HWND owner = GetWindow(box, GW_OWNER);
  WriteOut("msgbox caption=" + Quoted(TextOf(box)) +
           " text=" + Quoted(textControl ? TextOf(textControl) : L"") + " owner=" +
           Quoted(owner ? TextOf(owner) : L"") + " owner_hwnd=" + Hex(owner) + " buttons=" + list);
  if (buttons.empty()) return kRefused;
  int press = context->filter.press.value_or(buttons.front());
  HWND button = FindControl(box, std::to_wstring(press));
  if (button == nullptr) {
    WriteErr("the message box has no button " + std::to_string(press));
    return kNotFound;
  }
  NotifyParent(button, BN_CLICKED);
  WriteOut("pressed id=" + std::to_string(press));
  return kOk;
}

int CmdWaitGone(Context* context) {
  DWORD start = GetTickCount();
  while (FindNow(context->filter) != nullptr) {
    if (GetTickCount() - start >= context->filter.timeoutMs) {
      WriteErr("the window is still there");
      return kNotFound;
    }
    Sleep(100);
  }
  WriteOut("gone");
  return kOk;
}

std::vector<std::wstring> ProcessImages() {
  std::vector<std::wstring> images;
  OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return images;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    images.emplace_back(entry.szExeFile);
  }
  return images;
}

int CmdProcesses(Context*) {
  for (const std::wstring& image : ProcessImages()) WriteOut("process image=" + Quoted(image));
  return kOk;
}

int CmdWaitExit(Context* context) {
  if (context->args.size() != 1) {
    WriteErr("wait-exit needs an image name");
    return kUsage;
  }
  DWORD start = GetTickCount();
  for (;;) {
    bool running = false;
    for (const std::wstring& image : ProcessImages()) {
      if (_wcsicmp(image.c_str(), context->args[0].c_str()) == 0) running = true;
    }
    if (!running) break;
    if (GetTickCount() - start >= context->filter.timeoutMs) {
      WriteErr(ToUtf8(context->args[0]) + " still runs");
      return kNotFound;
    }
    Sleep(100);
  }
  WriteOut("exited image=" + Quoted(context->args[0]));
  return kOk;
}

// ---- system state ----------------------------------------------------------------------------

std::wstring OrEmpty(const wchar_t* text) {
  return text != nullptr ? text : L"";
}

// Calls a two-step "size, then fill" enumeration; an empty buffer when it fails.
template <typename Call>
std::vector<BYTE> Enumerate(Call call, DWORD* count) {
  DWORD needed = 0;
  *count = 0;
  call(nullptr, 0, &needed, count);
  std::vector<BYTE> buffer(needed + 16);
  if (needed == 0 || !call(buffer.data(), needed, &needed, count)) {
    *count = 0;
    buffer.clear();
  }
  return buffer;
}

class PrinterHandle {
 public:
  explicit PrinterHandle(const std::wstring& name) {
    if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &handle_, nullptr)) handle_ = nullptr;
  }
  ~PrinterHandle() {
    if (handle_ != nullptr) ClosePrinter(handle_);
  }
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

std::wstring RegistryData(DWORD type, const BYTE* data, DWORD size) {
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    for (wchar_t& c : text) {
      if (c == L'\0') c = L'|';  // REG_MULTI_SZ separators
    }
    return text;
  }
  if (type == REG_DWORD && size >= sizeof(DWORD)) {
    DWORD value = 0;
    memcpy(&value, data, sizeof value);
    return std::to_wstring(value);
  }
  std::wstring hex;
  for (DWORD i = 0; i < size; ++i) {
    wchar_t byte[4];
    swprintf(byte, 4, L"%02x", data[i]);
    hex += byte;
  }
  return hex;
}

std::string TypeName(DWORD type) {
  switch (type) {
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_BINARY:
      return "REG_BINARY";
    default:
      return std::to_string(type);
  }
}

int CmdPrinters(Context*) {
  DWORD count = 0;
  std::vector<BYTE> buffer = Enumerate(
      [](BYTE* data, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, data, size, needed, returned);
      },
      &count);
  const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    WriteOut("printer name=" + Quoted(OrEmpty(printers[i].pPrinterName)) +
             " port=" + Quoted(OrEmpty(printers[i].pPortName)) +
             " driver=" + Quoted(OrEmpty(printers[i].pDriverName)) +
             " attributes=" + std::to_string(printers[i].Attributes));
  }
  WriteOut("printers count=" + std::to_string(count));
  return kOk;
}

int CmdPrinterData(Context* context) {
  if (context->args.size() < 2) {
    WriteErr("printer-data needs a printer and value names");
    return kUsage;
  }
  PrinterHandle printer(context->args[0]);
  if (printer.get() == nullptr) {
    WriteOut("missing printer=" + Quoted(context->args[0]));
    return kNotFound;
  }
  int status = kOk;
  for (size_t i = 1; i < context->args.size(); ++i) {
    const std::wstring& name = context->args[i];
    DWORD type = 0, needed = 0;
    GetPrinterDataW(printer.get(), const_cast<wchar_t*>(name.c_str()), &type, nullptr, 0, &needed);
    std::vector<BYTE> data(needed + sizeof(wchar_t), 0);
    if (needed == 0 || GetPrinterDataW(printer.get(), const_cast<wchar_t*>(name.c_str()), &type,
                                       data.data(), needed, &needed) != ERROR_SUCCESS) {
      WriteOut("missing data=" + Quoted(name));
      status = kNotFound;
      continue;
    }
    WriteOut("data name=" + Quoted(name) + " type=" + TypeName(type) + " bytes=" +
             std::to_string(needed) + " value=" + Quoted(RegistryData(type, data.data(), needed)));
  }
  return status;
}

int CmdDefaultPrinter(Context*) {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  std::vector<wchar_t> name(size + 1, L'\0');
  if (size == 0 || !GetDefaultPrinterW(name.data(), &size)) {
    WriteOut("default name=\"\"");
    return kNotFound;
  }
  WriteOut("default name=" + Quoted(name.data()));
  return kOk;
}

int CmdDrivers(Context* context) {
  std::wstring environment = context->args.empty() ? L"" : context->args[0];
  DWORD count = 0;
  std::vector<BYTE> buffer = Enumerate(
      [&environment](BYTE* data, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumPrinterDriversW(
            nullptr, environment.empty() ? nullptr : const_cast<wchar_t*>(environment.c_str()), 3,
            data, size, needed, returned);
      },
      &count);
  const auto* drivers = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    std::wstring dependents;
    for (const wchar_t* file = drivers[i].pDependentFiles; file != nullptr && *file != L'\0';
         file += wcslen(file) + 1) {
      dependents += (dependents.empty() ? L"" : L"|") + std::wstring(file);
    }
    WriteOut("driver name=" + Quoted(OrEmpty(drivers[i].pName)) +
             " environment=" + Quoted(OrEmpty(drivers[i].pEnvironment)) +
             " path=" + Quoted(OrEmpty(drivers[i].pDriverPath)) +
             " data=" + Quoted(OrEmpty(drivers[i].pDataFile)) +
             " config=" + Quoted(OrEmpty(drivers[i].pConfigFile)) +
             " help=" + Quoted(OrEmpty(drivers[i].pHelpFile)) +
             " monitor=" + Quoted(OrEmpty(drivers[i].pMonitorName)) + " datatype=" +
             Quoted(OrEmpty(drivers[i].pDefaultDataType)) + " dependents=" + Quoted(dependents));
  }
  WriteOut("drivers count=" + std::to_string(count));
  return kOk;
}

int CmdPorts(Context*) {
  DWORD count = 0;
  std::vector<BYTE> buffer = Enumerate(
      [](BYTE* data, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumPortsW(nullptr, 2, data, size, needed, returned);
      },
      &count);
  const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    WriteOut("port name=" + Quoted(OrEmpty(ports[i].pPortName)) +
             " monitor=" + Quoted(OrEmpty(ports[i].pMonitorName)) +
             " description=" + Quoted(OrEmpty(ports[i].pDescription)));
  }
  WriteOut("ports count=" + std::to_string(count));
  return kOk;
}

class RegistryKey {
 public:
  RegistryKey(HKEY root, const std::wstring& path) {
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

int CmdReg(Context* context) {
  if (context->args.size() != 1) {
    WriteErr("reg needs a key such as HKLM\\SOFTWARE\\Name");
    return kUsage;
  }
  const std::wstring& spec = context->args[0];
  size_t slash = spec.find(L'\\');
  std::wstring rootName = spec.substr(0, slash);
  std::wstring path = slash == std::wstring::npos ? L"" : spec.substr(slash + 1);
  HKEY root = nullptr;
  if (_wcsicmp(rootName.c_str(), L"HKLM") == 0) root = HKEY_LOCAL_MACHINE;
  if (_wcsicmp(rootName.c_str(), L"HKCU") == 0) root = HKEY_CURRENT_USER;
  if (root == nullptr) {
    WriteErr("the key must start with HKLM or HKCU");
    return kUsage;
  }
  RegistryKey key(root, path);
  if (key.get() == nullptr) {
    WriteOut("missing key=" + Quoted(spec));
    return kNotFound;
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[256] = {};
    DWORD nameSize = 256;
    if (RegEnumKeyExW(key.get(), index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    WriteOut("subkey name=" + Quoted(name));
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384] = {};
    DWORD nameSize = 16384, type = 0, dataSize = 0;
    if (RegEnumValueW(key.get(), index, name, &nameSize, nullptr, &type, nullptr, &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    std::vector<BYTE> data(dataSize + sizeof(wchar_t), 0);
    nameSize = 16384;
    if (RegEnumValueW(key.get(), index, name, &nameSize, nullptr, &type, data.data(), &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    WriteOut("value name=" + Quoted(name) + " type=" + TypeName(type) +
             " bytes=" + std::to_string(dataSize) +
             " data=" + Quoted(RegistryData(type, data.data(), dataSize)));
  }
  WriteOut("key path=" + Quoted(spec));
  return kOk;
}

// Releases a COM interface pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return pointer_; }
  T** out() { return &pointer_; }

 private:
  T* pointer_ = nullptr;
};

class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool ok_;
};

int CmdShortcut(Context* context) {
  if (context->args.size() != 1) {
    WriteErr("shortcut needs a .lnk file");
    return kUsage;
  }
  ComScope com;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.out()))) ||
      FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))) ||
      FAILED(file.get()->Load(context->args[0].c_str(), STGM_READ))) {
    WriteOut("missing shortcut=" + Quoted(context->args[0]));
    return kNotFound;
  }
  wchar_t target[MAX_PATH] = {};
  wchar_t directory[MAX_PATH] = {};
  link.get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  link.get()->GetWorkingDirectory(directory, MAX_PATH);
  WriteOut("shortcut target=" + Quoted(target) + " directory=" + Quoted(directory));
  return kOk;
}

class ServiceHandle {
 public:
  explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
  ~ServiceHandle() {
    if (handle_ != nullptr) CloseServiceHandle(handle_);
  }
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
  SC_HANDLE get() const { return handle_; }

 private:
  SC_HANDLE handle_;
};

int CmdService(Context* context) {
  if (context->args.size() != 1) {
    WriteErr("service needs a name");
    return kUsage;
  }
  ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  ServiceHandle service(manager.get() == nullptr
                            ? nullptr
                            : OpenServiceW(manager.get(), context->args[0].c_str(),
                                           SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS));
  if (service.get() == nullptr) {
    WriteOut("missing service=" + Quoted(context->args[0]));
    return kNotFound;
  }
  DWORD needed = 0;
  QueryServiceConfigW(service.get(), nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed + 16);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  if (needed == 0 ||
      !QueryServiceConfigW(service.get(), config, static_cast<DWORD>(buffer.size()), &needed)) {
    WriteOut("missing service=" + Quoted(context->args[0]));
    return kNotFound;
  }
  SERVICE_STATUS status = {};
  QueryServiceStatus(service.get(), &status);
  WriteOut("service name=" + Quoted(context->args[0]) +
           " display=" + Quoted(OrEmpty(config->lpDisplayName)) +
           " program=" + Quoted(OrEmpty(config->lpBinaryPathName)) + " start=" +
           std::to_string(config->dwStartType) + " type=" + std::to_string(config->dwServiceType) +
           " state=" + std::to_string(status.dwCurrentState));
  return kOk;
}

struct Command {
  const wchar_t* name;
  int (*run)(Context*);
};

constexpr Command kCommands[] = {
    {L"windows", CmdWindows},
    {L"find", CmdFind},
    {L"controls", CmdControls},
    {L"text", CmdText},
    {L"combo", CmdCombo},
    {L"select", CmdSelect},
    {L"listview", CmdListView},
    {L"select-row", CmdSelectRow},
    {L"click", CmdClick},
    {L"check", CmdCheck},
    {L"set-text", CmdSetText},
    {L"key", CmdKey},
    {L"close", CmdClose},
    {L"msgbox", CmdMessageBox},
    {L"wait-gone", CmdWaitGone},
    {L"processes", CmdProcesses},
    {L"wait-exit", CmdWaitExit},
    {L"printers", CmdPrinters},
    {L"printer-data", CmdPrinterData},
    {L"default-printer", CmdDefaultPrinter},
    {L"drivers", CmdDrivers},
    {L"ports", CmdPorts},
    {L"reg", CmdReg},
    {L"shortcut", CmdShortcut},
    {L"service", CmdService},
    {L"move", CmdMove},
    {L"redraw", CmdRedraw},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    WriteErr("usage: wizard_driver <command> [filters] [arguments] (see the source's head)");
    return kUsage;
  }
  std::wstring name = argv[1];
  for (const Command& command : kCommands) {
    if (name != command.name) continue;
    Context context;
    std::vector<std::wstring> rest(argv + 2, argv + argc);
    if (!ParseArguments(rest, &context.filter, &context.args)) return kUsage;
    return command.run(&context);
  }
  WriteErr("unknown command " + ToUtf8(name));
  return kUsage;
}
