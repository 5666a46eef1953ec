#include "platform/sim/sim_services.h"

namespace installer::sim {

namespace {

std::wstring Fold(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return out;
}

}  // namespace

class SimServices::Manager : public ServiceManager {
 public:
  explicit Manager(SimServices& services) : services_(services) {}
  ~Manager() override { services_.Closed(); }
  std::unique_ptr<ServiceHandle> CreateService(const ServiceConfig& config,
                                               std::uint32_t& error) override {
    return services_.Create(config, error);
  }

 private:
  SimServices& services_;
};

class SimServices::Handle : public ServiceHandle {
 public:
  Handle(SimServices& services, std::wstring key) : services_(services), key_(std::move(key)) {}
  ~Handle() override { services_.Closed(); }
  bool SetDescription(const std::wstring& description) override {
    return services_.SetDescription(key_, description);
  }
  bool Start() override { return services_.Start(key_); }

 private:
  SimServices& services_;
  std::wstring key_;
};

std::unique_ptr<ServiceManager> SimServices::OpenManager() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!managerAvailable_) return nullptr;
  ++openHandles_;
  return std::make_unique<Manager>(*this);
}

std::unique_ptr<ServiceHandle> SimServices::Create(const ServiceConfig& config,
                                                   std::uint32_t& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++createAttempts_;
  if (createError_) {
    error = *createError_;
    return nullptr;
  }
  const std::wstring key = Fold(config.name);
  if (services_.count(key)) {
    error = kErrorServiceExists;
    return nullptr;
  }
  services_[key].config = config;
  order_.push_back(key);
  ++openHandles_;
  return std::make_unique<Handle>(*this, key);
}

bool SimServices::SetDescription(const std::wstring& key, const std::wstring& description) {
  std::lock_guard<std::mutex> lock(mutex_);
  services_[key].description = description;
  return true;
}

bool SimServices::Start(const std::wstring& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  ServiceRecord& record = services_[key];
  ++record.startAttempts;
  const std::wstring& program = record.config.binaryPath;
  if (!files_ || !files_->Exists(program) || files_->IsDirectory(program)) return false;
  record.running = true;
  return true;
}

void SimServices::Closed() {
  std::lock_guard<std::mutex> lock(mutex_);
  --openHandles_;
}

void SimServices::AttachFileSystem(FileSystem* files) {
  std::lock_guard<std::mutex> lock(mutex_);
  files_ = files;
}

void SimServices::SetManagerAvailable(bool available) {
  std::lock_guard<std::mutex> lock(mutex_);
  managerAvailable_ = available;
}

void SimServices::FailCreateWith(std::optional<std::uint32_t> error) {
  std::lock_guard<std::mutex> lock(mutex_);
  createError_ = error;
}

std::optional<SimServices::ServiceRecord> SimServices::Find(const std::wstring& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = services_.find(Fold(name));
  if (it == services_.end()) return std::nullopt;
  return it->second;
}

std::vector<SimServices::ServiceRecord> SimServices::All() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<ServiceRecord> all;
  for (const auto& key : order_) {
    auto it = services_.find(key);
    if (it != services_.end()) all.push_back(it->second);
  }
  return all;
}

int SimServices::CreateAttempts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return createAttempts_;
}

int SimServices::OpenHandles() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return openHandles_;
}

}  // namespace installer::sim
