#include "platform/sim/sim_file_system.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>

namespace installer::sim {

namespace {

struct Node {
  std::wstring name;  // as first written
  bool isDirectory = false;
  std::shared_ptr<std::vector<std::uint8_t>> data;         // files only
  std::map<std::wstring, std::unique_ptr<Node>> children;  // folders only, keyed by Key(name)
};

// Case folding for every script, independent of the process's locale (the "C" locale would
// fold ASCII only).
wint_t FoldCase(wint_t c) {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return utf8 ? towlower_l(c, utf8) : std::towlower(c);
}

std::wstring Key(const std::wstring& name) {
  std::wstring key(name);
  for (wchar_t& c : key) c = static_cast<wchar_t>(FoldCase(static_cast<wint_t>(c)));
  return key;
}

bool ValidNameChar(wchar_t c) {
  if (c < 0x20) return false;
  switch (c) {
    case L'<':
    case L'>':
    case L':':
    case L'"':
    case L'/':
    case L'|':
    case L'?':
    case L'*':
      return false;
    default:
      return true;
  }
}

struct ParsedPath {
  wchar_t drive = 0;  // upper case
  std::vector<std::wstring> parts;
  bool trailingBackslash = false;
};

std::optional<ParsedPath> Parse(const std::wstring& path) {
  if (path.size() < 2 || path[1] != L':') return std::nullopt;
  const wchar_t letter = path[0];
  const bool isLetter = (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
  if (!isLetter) return std::nullopt;
  ParsedPath parsed;
  parsed.drive = static_cast<wchar_t>(letter & ~0x20);
  // "C:name" is relative to the drive's current folder: not supported.
  if (path.size() > 2 && path[2] != L'\\') return std::nullopt;
  std::size_t pos = 2;
  while (pos < path.size()) {
    std::size_t end = path.find(L'\\', pos);
    if (end == std::wstring::npos) end = path.size();
    std::wstring part = path.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty() || part == L".") continue;
    if (part == L"..") {
      if (!parsed.parts.empty()) parsed.parts.pop_back();
      continue;
    }
    if (!std::all_of(part.begin(), part.end(), ValidNameChar)) return std::nullopt;
    parsed.parts.push_back(std::move(part));
  }
  parsed.trailingBackslash = path.size() > 3 && path.back() == L'\\';
  return parsed;
}

}  // namespace

struct SimFileSystem::State {
  mutable std::mutex mutex;
  std::map<wchar_t, Node> drives;
  std::vector<std::pair<wchar_t, std::vector<std::wstring>>> denied;  // keys
  std::optional<std::uint64_t> writeBudget;
  Counters counters;
  std::vector<std::wstring> created;

  Node* Find(wchar_t drive, const std::vector<std::wstring>& parts, std::size_t count) {
    auto root = drives.find(drive);
    if (root == drives.end()) return nullptr;
    Node* node = &root->second;
    for (std::size_t i = 0; i < count; ++i) {
      if (!node->isDirectory) return nullptr;
      auto child = node->children.find(Key(parts[i]));
      if (child == node->children.end()) return nullptr;
      node = child->second.get();
    }
    return node;
  }

  Node* Find(const ParsedPath& path) {
    Node* node = Find(path.drive, path.parts, path.parts.size());
    if (node && path.trailingBackslash && !node->isDirectory) return nullptr;
    return node;
  }

  // The folder that would hold the path's last part; null when missing or not a folder.
  Node* Parent(const ParsedPath& path) {
    if (path.parts.empty()) return nullptr;
    Node* node = Find(path.drive, path.parts, path.parts.size() - 1);
    return node && node->isDirectory ? node : nullptr;
  }

  bool Denied(const ParsedPath& path) const {
    for (const auto& [drive, prefix] : denied) {
      if (drive != path.drive || prefix.size() > path.parts.size()) continue;
      bool match = true;
      for (std::size_t i = 0; i < prefix.size() && match; ++i) {
        match = prefix[i] == Key(path.parts[i]);
      }
      if (match) return true;
    }
    return false;
  }

  static Node* AddChild(Node& parent, const std::wstring& name, bool isDirectory) {
    auto node = std::make_unique<Node>();
    node->name = name;
    node->isDirectory = isDirectory;
    if (!isDirectory) node->data = std::make_shared<std::vector<std::uint8_t>>();
    Node* raw = node.get();
    parent.children[Key(name)] = std::move(node);
    return raw;
  }

  // Creates missing folders along the path's first `count` parts.
  Node* MakeFolders(const ParsedPath& path, std::size_t count) {
    auto root = drives.find(path.drive);
    if (root == drives.end()) return nullptr;
    Node* node = &root->second;
    for (std::size_t i = 0; i < count; ++i) {
      auto child = node->children.find(Key(path.parts[i]));
      if (child == node->children.end()) {
        node = AddChild(*node, path.parts[i], true);
      } else if (!child->second->isDirectory) {
        return nullptr;
      } else {
        node = child->second.get();
      }
    }
    return node;
  }
};

namespace {

using State = SimFileSystem::State;

class SimWriter : public FileWriter {
 public:
  SimWriter(std::shared_ptr<State> state, std::shared_ptr<std::vector<std::uint8_t>> data)
      : state_(std::move(state)), data_(std::move(data)) {}

  bool Write(const void* data, std::size_t size) override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    ++state_->counters.writeCalls;
    std::size_t fits = size;
    if (state_->writeBudget && *state_->writeBudget < size) {
      fits = static_cast<std::size_t>(*state_->writeBudget);
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (fits) data_->insert(data_->end(), bytes, bytes + fits);
    if (state_->writeBudget) *state_->writeBudget -= fits;
    state_->counters.bytesWritten += fits;
    return fits == size;
  }

 private:
  std::shared_ptr<State> state_;
  std::shared_ptr<std::vector<std::uint8_t>> data_;
};

class SimReader : public FileReader {
 public:
  SimReader(std::shared_ptr<State> state, std::shared_ptr<std::vector<std::uint8_t>> data)
      : state_(std::move(state)), data_(std::move(data)) {}

  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    ++state_->counters.readCalls;
    got = 0;
    if (position_ < data_->size()) {
      got = static_cast<std::size_t>(
          std::min<std::uint64_t>(size, static_cast<std::uint64_t>(data_->size()) - position_));
      std::memcpy(buffer, data_->data() + position_, got);
      position_ += got;
    }
    return true;
  }

  bool Seek(std::uint64_t position) override {
    position_ = position;
    return true;
  }

  std::optional<std::uint64_t> Size() override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return data_->size();
  }

 private:
  std::shared_ptr<State> state_;
  std::shared_ptr<std::vector<std::uint8_t>> data_;
  std::uint64_t position_ = 0;
};

}  // namespace

SimFileSystem::SimFileSystem() : state_(std::make_shared<State>()) {
  AddDrive(L'C');
}

SimFileSystem::~SimFileSystem() = default;

std::unique_ptr<FileWriter> SimFileSystem::OpenForWrite(const std::wstring& path, bool append) {
  auto parsed = Parse(path);
  if (!parsed || parsed->trailingBackslash) return nullptr;
  std::lock_guard<std::mutex> lock(state_->mutex);
  Node* parent = state_->Parent(*parsed);
  if (!parent || state_->Denied(*parsed)) return nullptr;
  const std::wstring& name = parsed->parts.back();
  Node* node = nullptr;
  auto existing = parent->children.find(Key(name));
  if (existing != parent->children.end()) {
    node = existing->second.get();
    if (node->isDirectory) return nullptr;
    if (!append) node->data->clear();
  } else {
    node = State::AddChild(*parent, name, false);
  }
  ++state_->counters.opensForWrite;
  return std::make_unique<SimWriter>(state_, node->data);
}

std::unique_ptr<FileReader> SimFileSystem::OpenForRead(const std::wstring& path) {
  auto parsed = Parse(path);
  if (!parsed) return nullptr;
  std::lock_guard<std::mutex> lock(state_->mutex);
  Node* node = state_->Find(*parsed);
  if (!node || node->isDirectory) return nullptr;
  return std::make_unique<SimReader>(state_, node->data);
}

bool SimFileSystem::Exists(const std::wstring& path) {
  auto parsed = Parse(path);
  if (!parsed) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->Find(*parsed) != nullptr;
}

bool SimFileSystem::IsDirectory(const std::wstring& path) {
  auto parsed = Parse(path);
  if (!parsed) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  Node* node = state_->Find(*parsed);
  return node && node->isDirectory;
}

bool SimFileSystem::CreateDirectory(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  ++state_->counters.createDirectoryCalls;
  auto parsed = Parse(path);
  if (!parsed) return false;
  Node* parent = state_->Parent(*parsed);
  if (!parent || state_->Denied(*parsed)) return false;
  const std::wstring& name = parsed->parts.back();
  if (parent->children.count(Key(name))) return false;
  State::AddChild(*parent, name, true);
  state_->created.push_back(path);
  return true;
}

bool SimFileSystem::CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) {
  auto source = Parse(from);
  auto target = Parse(to);
  if (!source || !target || target->trailingBackslash) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  Node* sourceNode = state_->Find(*source);
  if (!sourceNode || sourceNode->isDirectory) return false;
  Node* parent = state_->Parent(*target);
  if (!parent || state_->Denied(*target)) return false;
  const std::wstring& name = target->parts.back();
  Node* node = nullptr;
  auto existing = parent->children.find(Key(name));
  if (existing != parent->children.end()) {
    node = existing->second.get();
    if (node->isDirectory || failIfExists) return false;
  } else {
    node = State::AddChild(*parent, name, false);
  }
  if (node != sourceNode) *node->data = *sourceNode->data;
  return true;
}

bool SimFileSystem::DeleteFile(const std::wstring& path) {
  auto parsed = Parse(path);
  if (!parsed) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  Node* node = state_->Find(*parsed);
  if (!node || node->isDirectory || state_->Denied(*parsed)) return false;
  state_->Parent(*parsed)->children.erase(Key(parsed->parts.back()));
  return true;
}

std::vector<DirectoryEntry> SimFileSystem::List(const std::wstring& folder) {
  std::vector<DirectoryEntry> entries;
  auto parsed = Parse(folder);
  if (!parsed) return entries;
  std::lock_guard<std::mutex> lock(state_->mutex);
  Node* node = state_->Find(*parsed);
  if (!node || !node->isDirectory) return entries;
  for (const auto& [key, child] : node->children) {
    entries.push_back({child->name, child->isDirectory});
  }
  return entries;
}

void SimFileSystem::AddDrive(wchar_t letter) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  const auto drive = static_cast<wchar_t>(letter & ~0x20);
  Node& root = state_->drives[drive];
  root.isDirectory = true;
  root.name = std::wstring(1, drive) + L":";
}

bool SimFileSystem::Put(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  auto parsed = Parse(path);
  if (!parsed || parsed->parts.empty() || parsed->trailingBackslash) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  Node* parent = state_->MakeFolders(*parsed, parsed->parts.size() - 1);
  if (!parent) return false;
  const std::wstring& name = parsed->parts.back();
  auto existing = parent->children.find(Key(name));
  Node* node = nullptr;
  if (existing != parent->children.end()) {
    node = existing->second.get();
    if (node->isDirectory) return false;
  } else {
    node = State::AddChild(*parent, name, false);
  }
  *node->data = bytes;
  return true;
}

bool SimFileSystem::Put(const std::wstring& path, std::string_view bytes) {
  return Put(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

bool SimFileSystem::MakeDirectories(const std::wstring& path) {
  auto parsed = Parse(path);
  if (!parsed) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->MakeFolders(*parsed, parsed->parts.size()) != nullptr;
}

std::optional<std::vector<std::uint8_t>> SimFileSystem::Get(const std::wstring& path) const {
  auto parsed = Parse(path);
  if (!parsed) return std::nullopt;
  std::lock_guard<std::mutex> lock(state_->mutex);
  Node* node = state_->Find(*parsed);
  if (!node || node->isDirectory) return std::nullopt;
  return *node->data;
}

void SimFileSystem::DenyWrites(const std::wstring& pathPrefix) {
  auto parsed = Parse(pathPrefix);
  if (!parsed) return;
  std::vector<std::wstring> keys;
  for (const auto& part : parsed->parts) keys.push_back(Key(part));
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->denied.emplace_back(parsed->drive, std::move(keys));
}

void SimFileSystem::LimitWrites(std::optional<std::uint64_t> bytes) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->writeBudget = bytes;
}

std::vector<std::wstring> SimFileSystem::AllPaths() const {
  std::vector<std::wstring> paths;
  std::lock_guard<std::mutex> lock(state_->mutex);
  struct Walker {
    std::vector<std::wstring>& out;
    void Walk(const Node& node, const std::wstring& prefix) {
      for (const auto& [key, child] : node.children) {
        std::wstring path = prefix + L"\\" + child->name;
        out.push_back(child->isDirectory ? path + L"\\" : path);
        if (child->isDirectory) Walk(*child, path);
      }
    }
  } walker{paths};
  for (const auto& [drive, root] : state_->drives) walker.Walk(root, root.name);
  return paths;
}

SimFileSystem::Counters SimFileSystem::counters() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->counters;
}

std::vector<std::wstring> SimFileSystem::createdDirectories() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->created;
}

}  // namespace installer::sim
