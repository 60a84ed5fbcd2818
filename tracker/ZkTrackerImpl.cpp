#include "tracker/ZkTrackerImpl.h"

#include <chrono>
#include <thread>

#include "analytics/Sdk.h"
#include "tracker/DeviceInfo.h"
#include "tracker/Identity.h"
#include "tracker/Platform.h"
#include "tracker/ZkEnumText.h"
#include "tracker/ZkException.h"

namespace zorvik::tracking {

ZkTrackerImpl::ZkTrackerImpl(const ZkTrackerConfig& config)
    : serverUrl_(config.serverUrl),
      appName_(config.appName),
      appVersion_(config.appVersion),
      appStore_(config.appStore),
      dlAppId_(config.dlAppId),
      dlAppVersion_(config.dlAppVersion),
      caBundlePath_(config.caBundlePath),
      configuredDataDirectory_(config.dataDirectory),
      edition_(config.edition),
      context_(std::make_unique<ZkTrackerContext>()) {
  context_->logFilePath = config.logFilePath;
}

void ZkTrackerImpl::init() {
  if (appName_.empty()) ZK_THROW("ZkTrackerImpl", "init", "appName is empty");
  if (appVersion_.empty()) ZK_THROW("ZkTrackerImpl", "init", "appVersion is empty");
  if (appStore_.empty()) ZK_THROW("ZkTrackerImpl", "init", "appStore is empty");
  ZkTrackerContext& context = *context_;
  context.pendingCount = 0;

  const IdentityPaths paths =
      configuredDataDirectory_.empty()
          ? ResolveIdentityPaths(platform::ExecutableFolder(), appName_,
                                 platform::UserDataBaseFolder(platform::QueryVersionNumbers()),
                                 platform::PathSeparator())
          : IdentityPathsIn(configuredDataDirectory_, appName_, platform::PathSeparator());
  context.dataDirectory = paths.dataDirectory;
  context.identityIniPath = paths.iniPath;

  if (serverUrl_.empty()) serverUrl_ = kDefaultServerUrl;
  LoadIdentity(context, serverUrl_, [] { return NewGuidText(); });
  if (context.userId.empty()) context.loggedIn = false;

  if (context.logFilePath.empty()) {
    context.logFilePath = context.dataDirectory + appName_ + "_" + kLogFileSuffix;
  }
  logger_ = std::make_unique<NativeTrackLogger>();
  logger_->open(context.logFilePath);

  const std::string staging = context.dataDirectory + appName_ + "_" + kStagingFileSuffix;
  const std::string& id = context.loggedIn ? context.userId : context.distinctId;
  if (!zk_analytics::Sdk::Init(staging, serverUrl_, id, context.loggedIn, caBundlePath_)) {
    ZK_THROW("ZkTrackerImpl", "init", "zk_analytics::Sdk::Init is failed");
  }
  zk_analytics::Sdk::RegisterSuperProperties(SuperProperties());
  WriteUninstallInfo(context, appStore_, appName_, appVersion_);
}

ZkTrackerImpl::~ZkTrackerImpl() {
  SaveIdentity(*context_);
  for (int attempt = 0; attempt < 3 && context_->pendingCount > 0; ++attempt) {
    if (zk_analytics::Sdk::Exists() && zk_analytics::Sdk::Flush()) context_->pendingCount = 0;
  }
  if (zk_analytics::Sdk::Exists()) zk_analytics::Sdk::Shutdown();
  context_.reset();
  if (logger_) logger_->close();
}

zk_analytics::PropertiesNode ZkTrackerImpl::LocaleProperties() const {
  std::string language, country, locale;
  const std::string& text = context_->locale;
  const size_t underscore = text.find('_');
  if (!text.empty() && underscore != std::string::npos) {
    language = text.substr(0, underscore);
    country = text.substr(underscore + 1);
    locale = text;
  }
  if (language.empty()) {
    if (platform::QueryUserLocale(language, country)) {
      locale = language + "_" + country;
    } else {
      language.clear();
      country.clear();
      locale.clear();
    }
  }
  zk_analytics::PropertiesNode properties;
  properties.SetString("zk_l10n_locale", locale);
  properties.SetString("zk_l10n_language", language);
  properties.SetString("zk_l10n_country", country);
  return properties;
}

zk_analytics::PropertiesNode ZkTrackerImpl::SuperProperties() const {
  zk_analytics::PropertiesNode p;
  p.SetString("zk_app_id", appName_);
  p.SetString("$app_version", appVersion_);
  p.SetString("$app_id", appName_);
  p.SetString("zk_app_store", appStore_);
  p.SetString("zk_edition", toString(edition_));
  if (!dlAppId_.empty()) p.SetString("zk_dlapp_id", dlAppId_);
  if (!dlAppVersion_.empty()) p.SetString("zk_dlapp_version", dlAppVersion_);
  p.SetString("zk_app_platform", "Windows");
  p.SetString("zk_track_type", "Client");
  p.SetString("zk_sdk_version", "3.3.8");
  p.SetString("zk_sdk", "WindowsCPP");
  const OsFacts os = QueryOsFacts();
  p.SetString("$os", os.name);
  p.SetString("$os_version", os.versionName);
  const zk_analytics::PropertiesNode locale = LocaleProperties();
  for (const auto& [name, value] : locale.Items()) p.SetValue(name, value);
  const platform::ScreenSize screen = platform::QueryScreenSize();
  p.SetNumber("$screen_height", screen.height);
  p.SetNumber("$screen_width", screen.width);
  if (!context_->userId.empty()) p.SetString("zk_user_id", context_->userId);
  return p;
}

void ZkTrackerImpl::setL10nLocale(std::string locale) {
  context_->locale = std::move(locale);
  zk_analytics::Sdk::RegisterSuperProperties(LocaleProperties());
}

std::string ZkTrackerImpl::getPrimaryDistinctId() { return context_->primaryDistinctId; }

void ZkTrackerImpl::CountTwice() {
  context_->pendingCount += 1;
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
  context_->pendingCount += 1;
}

void ZkTrackerImpl::CountOnce() {
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
  context_->pendingCount += 1;
}

void ZkTrackerImpl::FlushNow() {
  // The event just queued counts too: without it, a crash reported first in a
  // run would be neither flushed here nor at shutdown.
  context_->pendingCount += 1;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (context_->pendingCount <= 0) return;
    if (zk_analytics::Sdk::Exists() && zk_analytics::Sdk::Flush()) {
      context_->pendingCount.exchange(0);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace zorvik::tracking
