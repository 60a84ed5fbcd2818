#pragma once
// The process's one analytics instance: identity, super properties and the
// record store. Every operation does nothing while no instance exists;
// failures are written to standard error, nothing throws.

#include <cstdint>
#include <string>
#include <vector>

#include "analytics/ObjectNode.h"
#include "analytics/RecordStore.h"

namespace zk_analytics {

class Sdk {
 public:
  // Checks the distinct id; creates the instance unless one exists (then true,
  // nothing changes). `caBundle` (optional) is trusted for the uploads' TLS.
  static bool Init(const std::string& stagingFilePath, const std::string& serverUrl,
                   const std::string& distinctId, bool isLoginId, const std::string& caBundle = {});
  // Test seam: the same, with the batch upload replaced.
  static bool InitWithSender(const std::string& stagingFilePath, const std::string& serverUrl,
                             const std::string& distinctId, bool isLoginId,
                             RecordStore::BatchSender send);
  static bool Exists();

  static void RegisterSuperProperties(const PropertiesNode& properties);
  static void Track(const std::string& eventName, const PropertiesNode& properties = {});
  static void TrackInstallation(const std::string& eventName, const PropertiesNode& properties = {});
  static void TrackSignUp(const std::string& loginId);

  static void ProfileSet(const PropertiesNode& properties);
  static void ProfileSetString(const std::string& name, const std::string& text);
  static void ProfileSetNumber(const std::string& name, int32_t value);
  static void ProfileSetNumber(const std::string& name, double value);
  static void ProfileSetOnce(const PropertiesNode& properties);
  static void ProfileSetOnceString(const std::string& name, const std::string& text);
  static void ProfileSetOnceNumber(const std::string& name, int32_t value);
  static void ProfileSetOnceNumber(const std::string& name, double value);
  static void ProfileIncrement(const PropertiesNode& properties);
  static void ProfileIncrement(const std::string& name, int32_t value);
  static void ProfileAppend(const std::string& name, const std::string& text);

  // Sends everything queued; false at the first failed batch (or without instance).
  static bool Flush();
  // Writes what is left to the staging file and destroys the instance.
  static void Shutdown();

  // What is waiting to be sent, oldest first (empty without instance).
  static std::vector<std::string> QueuedRecords();
  static std::string DistinctId();
  static bool IsLoginId();
};

}  // namespace zk_analytics
