#include "analytics/Sdk.h"

#include <memory>
#include <mutex>
#include <random>
#include <utility>

#include "analytics/Clock.h"
#include "analytics/Record.h"
#include "analytics/Validation.h"

namespace zk_analytics {

namespace {

class Instance {
 public:
  Instance(const std::string& stagingFilePath, SenderConfig sender, std::string distinctId,
           bool isLoginId, RecordStore::BatchSender send)
      : store_(std::move(sender), stagingFilePath, std::move(send)),
        distinctId_(std::move(distinctId)),
        isLoginId_(isLoginId),
        random_(static_cast<uint32_t>(NowMs() / 1000)) {
    auto initial = std::make_shared<PropertiesNode>();
    initial->SetString("$lib", kLibName);
    initial->SetString("$lib_version", kLibVersion);
    superProperties_ = std::move(initial);
  }

  RecordStore& Store() { return store_; }

  void RegisterSuperProperties(const PropertiesNode& properties) {
    std::lock_guard<std::mutex> lock(mutex_);
    // A new set replaces the old one whole: records being built keep theirs.
    auto updated = std::make_shared<PropertiesNode>(*superProperties_);
    for (const auto& [name, value] : properties.Items()) updated->SetValue(name, value);
    superProperties_ = std::move(updated);
  }

  // Builds and queues one record for the current identity.
  void Queue(const std::string& type, const std::string& eventName,
             const PropertiesNode& properties) {
    const Identity identity = Take();
    QueueFor(type, eventName, properties, identity.distinctId, {}, identity);
  }

  void SignUp(const std::string& loginId) {
    const Identity identity = Take();
    QueueFor("track_signup", "$SignUp", PropertiesNode(), loginId, identity.distinctId, identity);
    std::lock_guard<std::mutex> lock(mutex_);
    distinctId_ = loginId;
    isLoginId_ = true;
  }

  std::string DistinctId() {
    std::lock_guard<std::mutex> lock(mutex_);
    return distinctId_;
  }
  bool IsLoginId() {
    std::lock_guard<std::mutex> lock(mutex_);
    return isLoginId_;
  }

 private:
  // What one record needs of the shared state, taken at once: super properties
  // change on locale updates from another thread.
  struct Identity {
    std::shared_ptr<const PropertiesNode> superProperties;
    std::string distinctId;
    bool isLoginId = false;
    uint32_t r1 = 0, r2 = 0;
  };

  Identity Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    Identity identity;
    identity.superProperties = superProperties_;
    identity.distinctId = distinctId_;
    identity.isLoginId = isLoginId_;
    identity.r1 = static_cast<uint32_t>(random_());
    identity.r2 = static_cast<uint32_t>(random_());
    return identity;
  }

  void QueueFor(const std::string& type, const std::string& eventName,
                const PropertiesNode& properties, const std::string& distinctId,
                const std::string& originalId, const Identity& identity) {
    const int64_t now = NowMs();
    const RecordRequest request{type, eventName, &properties, distinctId, originalId};
    utils::ObjectNode record;
    if (!BuildRecord(request, {identity.superProperties.get(), identity.isLoginId},
                     TrackIdFrom(identity.r1, identity.r2, now), now, record)) {
      return;
    }
    store_.Add(record);
  }

  RecordStore store_;
  std::mutex mutex_;
  std::shared_ptr<const PropertiesNode> superProperties_;
  std::string distinctId_;
  bool isLoginId_;
  std::mt19937 random_;
};

std::unique_ptr<Instance>& TheInstance() {
  static std::unique_ptr<Instance> instance;
  return instance;
}

Instance* Current() { return TheInstance().get(); }

bool Create(const std::string& stagingFilePath, SenderConfig sender, const std::string& distinctId,
            bool isLoginId, RecordStore::BatchSender send) {
  if (!CheckId("Distinct ID", distinctId)) return false;
  if (TheInstance()) return true;
  TheInstance() = std::make_unique<Instance>(stagingFilePath, std::move(sender), distinctId,
                                             isLoginId, std::move(send));
  return true;
}

void QueueProfile(const std::string& type, const PropertiesNode& properties) {
  if (Instance* sdk = Current()) sdk->Queue(type, "", properties);
}

template <typename Setter>
void QueueOne(const std::string& type, Setter set) {
  if (Current() == nullptr) return;
  PropertiesNode properties;
  set(properties);
  QueueProfile(type, properties);
}

}  // namespace

bool Sdk::Init(const std::string& stagingFilePath, const std::string& serverUrl,
               const std::string& distinctId, bool isLoginId, const std::string& caBundle) {
  return Create(stagingFilePath, {serverUrl, caBundle}, distinctId, isLoginId, {});
}

bool Sdk::InitWithSender(const std::string& stagingFilePath, const std::string& serverUrl,
                         const std::string& distinctId, bool isLoginId,
                         RecordStore::BatchSender send) {
  return Create(stagingFilePath, {serverUrl, {}}, distinctId, isLoginId, std::move(send));
}

bool Sdk::Exists() { return Current() != nullptr; }

void Sdk::RegisterSuperProperties(const PropertiesNode& properties) {
  if (Instance* sdk = Current()) sdk->RegisterSuperProperties(properties);
}

void Sdk::Track(const std::string& eventName, const PropertiesNode& properties) {
  if (Instance* sdk = Current()) sdk->Queue("track", eventName, properties);
}

void Sdk::TrackInstallation(const std::string& eventName, const PropertiesNode& properties) {
  if (Current() == nullptr) return;
  PropertiesNode withSource;
  withSource.SetString("$ios_install_source", "");
  for (const auto& [name, value] : properties.Items()) withSource.SetValue(name, value);
  Track(eventName, withSource);
}

void Sdk::TrackSignUp(const std::string& loginId) {
  if (Instance* sdk = Current()) sdk->SignUp(loginId);
}

void Sdk::ProfileSet(const PropertiesNode& properties) { QueueProfile("profile_set", properties); }

void Sdk::ProfileSetString(const std::string& name, const std::string& text) {
  QueueOne("profile_set", [&](PropertiesNode& p) { p.SetString(name, text); });
}

void Sdk::ProfileSetNumber(const std::string& name, int32_t value) {
  QueueOne("profile_set", [&](PropertiesNode& p) { p.SetNumber(name, value); });
}

void Sdk::ProfileSetNumber(const std::string& name, double value) {
  QueueOne("profile_set", [&](PropertiesNode& p) { p.SetNumber(name, value); });
}

void Sdk::ProfileSetOnce(const PropertiesNode& properties) {
  QueueProfile("profile_set_once", properties);
}

void Sdk::ProfileSetOnceString(const std::string& name, const std::string& text) {
  QueueOne("profile_set_once", [&](PropertiesNode& p) { p.SetString(name, text); });
}

void Sdk::ProfileSetOnceNumber(const std::string& name, int32_t value) {
  QueueOne("profile_set_once", [&](PropertiesNode& p) { p.SetNumber(name, value); });
}

void Sdk::ProfileSetOnceNumber(const std::string& name, double value) {
  QueueOne("profile_set_once", [&](PropertiesNode& p) { p.SetNumber(name, value); });
}

void Sdk::ProfileIncrement(const PropertiesNode& properties) {
  QueueProfile("profile_increment", properties);
}

void Sdk::ProfileIncrement(const std::string& name, int32_t value) {
  QueueOne("profile_increment", [&](PropertiesNode& p) { p.SetNumber(name, value); });
}

void Sdk::ProfileAppend(const std::string& name, const std::string& text) {
  QueueOne("profile_append", [&](PropertiesNode& p) { p.SetList(name, {text}); });
}

bool Sdk::Flush() {
  Instance* sdk = Current();
  return sdk != nullptr && sdk->Store().FlushAll();
}

void Sdk::Shutdown() {
  if (Instance* sdk = Current()) sdk->Store().Close();
  TheInstance().reset();
}

std::vector<std::string> Sdk::QueuedRecords() {
  Instance* sdk = Current();
  return sdk != nullptr ? sdk->Store().Snapshot() : std::vector<std::string>{};
}

std::string Sdk::DistinctId() {
  Instance* sdk = Current();
  return sdk != nullptr ? sdk->DistinctId() : std::string{};
}

bool Sdk::IsLoginId() {
  Instance* sdk = Current();
  return sdk != nullptr && sdk->IsLoginId();
}

}  // namespace zk_analytics
