#include "platform/sim/sim_shell.h"

namespace installer::sim {

namespace {

std::wstring FoldAscii(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return out;
}

const std::wstring kLinkMagic = L"SimShellLink";
const std::wstring kTargetKey = L"Target=";
const std::wstring kWorkingKey = L"WorkingDirectory=";

std::vector<std::uint8_t> Utf16Bytes(const std::wstring& text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (wchar_t c : text) {
    const auto unit = static_cast<std::uint16_t>(c);
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

std::wstring FromUtf16Bytes(const std::vector<std::uint8_t>& bytes) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return text;
}

}  // namespace

class SimShell::Link : public ShellLink {
 public:
  explicit Link(SimShell& shell) : shell_(shell) {}
  bool SetPath(const std::wstring& target) override {
    data_.target = target;
    return true;
  }
  bool SetWorkingDirectory(const std::wstring& folder) override {
    data_.workingDirectory = folder;
    return true;
  }
  bool Save(const std::wstring& linkPath, bool remember) override {
    (void)remember;
    data_.savedOn = std::this_thread::get_id();
    return shell_.SaveLink(linkPath, data_);
  }

 private:
  SimShell& shell_;
  LinkData data_;
};

SimShell::SimShell() {
  folders_[SpecialFolder::Personal] = L"C:\\Users\\me\\Documents";
  folders_[SpecialFolder::StartMenu] =
      L"C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
  environment_[L"programfiles"] = L"C:\\Program Files";
}

std::optional<std::wstring> SimShell::GetSpecialFolder(SpecialFolder folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = folders_.find(folder);
  if (it == folders_.end()) return std::nullopt;
  return it->second;
}

std::wstring SimShell::ExpandEnvironmentStrings(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::wstring out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find(L'%', pos);
    if (open == std::wstring::npos) break;
    const std::size_t close = text.find(L'%', open + 1);
    if (close == std::wstring::npos) break;
    out.append(text, pos, open - pos);
    const std::wstring name = text.substr(open + 1, close - open - 1);
    auto it = environment_.find(FoldAscii(name));
    if (it != environment_.end()) {
      out += it->second;
    } else {
      out += L'%' + name + L'%';
    }
    pos = close + 1;
  }
  out.append(text, pos, std::wstring::npos);
  return out;
}

std::optional<std::wstring> SimShell::BrowseForFolder(WindowRef owner, const std::wstring& title,
                                                      std::uint32_t flags) {
  std::lock_guard<std::mutex> lock(mutex_);
  browseRequests_.push_back({owner, title, flags});
  return browseAnswer_;
}

long SimShell::CoInitialize() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++coInitializeCalls_;
  int& count = comInits_[std::this_thread::get_id()];
  long result = count > 0 ? kSFalse : kSOk;
  if (scriptedTimes_ > 0) {
    --scriptedTimes_;
    result = scriptedResult_;
  }
  if (result == kSOk || result == kSFalse) ++count;
  return result;
}

void SimShell::CoUninitialize() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++coUninitializeCalls_;
  auto it = comInits_.find(std::this_thread::get_id());
  if (it != comInits_.end() && it->second > 0) --it->second;
}

bool SimShell::ComReady() const {
  auto it = comInits_.find(std::this_thread::get_id());
  return it != comInits_.end() && it->second > 0;
}

std::unique_ptr<ShellLink> SimShell::CreateShellLink() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!linkAvailable_ || !ComReady()) return nullptr;
  return std::make_unique<Link>(*this);
}

bool SimShell::SaveLink(const std::wstring& path, const LinkData& data) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!files_ || !ComReady()) return false;
  auto writer = files_->OpenForWrite(path, false);
  if (!writer) return false;
  const std::wstring content = kLinkMagic + L"\r\n" + kTargetKey + data.target + L"\r\n" +
                               kWorkingKey + data.workingDirectory + L"\r\n";
  const std::vector<std::uint8_t> bytes = Utf16Bytes(content);
  if (!writer->Write(bytes.data(), bytes.size())) return false;
  savedLinks_.push_back(path);
  savedOn_[FoldAscii(path)] = data.savedOn;
  return true;
}

void SimShell::AttachFileSystem(FileSystem* files) {
  std::lock_guard<std::mutex> lock(mutex_);
  files_ = files;
}

void SimShell::SetSpecialFolder(SpecialFolder folder, std::optional<std::wstring> path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (path) {
    folders_[folder] = *path;
  } else {
    folders_.erase(folder);
  }
}

void SimShell::SetEnvironmentVariable(const std::wstring& name, const std::wstring& value) {
  std::lock_guard<std::mutex> lock(mutex_);
  environment_[FoldAscii(name)] = value;
}

void SimShell::SetBrowseAnswer(std::optional<std::wstring> answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  browseAnswer_ = std::move(answer);
}

void SimShell::ScriptCoInitialize(long result, int times) {
  std::lock_guard<std::mutex> lock(mutex_);
  scriptedResult_ = result;
  scriptedTimes_ = times;
}

void SimShell::SetShellLinkAvailable(bool available) {
  std::lock_guard<std::mutex> lock(mutex_);
  linkAvailable_ = available;
}

std::vector<SimShell::BrowseRequest> SimShell::BrowseRequests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return browseRequests_;
}

int SimShell::CoInitializeCalls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return coInitializeCalls_;
}

int SimShell::CoUninitializeCalls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return coUninitializeCalls_;
}

int SimShell::UnbalancedComThreads() const {
  std::lock_guard<std::mutex> lock(mutex_);
  int threads = 0;
  for (const auto& entry : comInits_) threads += entry.second > 0 ? 1 : 0;
  return threads;
}

std::optional<SimShell::LinkData> SimShell::ReadLink(const std::wstring& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!files_) return std::nullopt;
  const auto bytes = ReadWholeFile(*files_, path);
  if (!bytes) return std::nullopt;
  const std::wstring content = FromUtf16Bytes(*bytes);
  const std::wstring head = kLinkMagic + L"\r\n" + kTargetKey;
  if (content.compare(0, head.size(), head) != 0) return std::nullopt;
  const std::size_t targetEnd = content.find(L"\r\n", head.size());
  if (targetEnd == std::wstring::npos) return std::nullopt;
  const std::size_t workingStart = targetEnd + 2 + kWorkingKey.size();
  if (content.compare(targetEnd + 2, kWorkingKey.size(), kWorkingKey) != 0) return std::nullopt;
  const std::size_t workingEnd = content.find(L"\r\n", workingStart);
  if (workingEnd == std::wstring::npos) return std::nullopt;
  LinkData data;
  data.target = content.substr(head.size(), targetEnd - head.size());
  data.workingDirectory = content.substr(workingStart, workingEnd - workingStart);
  auto it = savedOn_.find(FoldAscii(path));
  if (it != savedOn_.end()) data.savedOn = it->second;
  return data;
}

std::vector<std::wstring> SimShell::SavedLinks() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return savedLinks_;
}

}  // namespace installer::sim
