#include "analytics/RecordSender.h"

#include <exception>
#include <iostream>

#include "analytics/BodyEncoding.h"
#include "analytics/HttpClient.h"

namespace zk_analytics {

bool RecordSender::Send(const SenderConfig& config, const std::string& batch,
                        const std::map<std::string, std::string>& headers) {
  std::string body;
  if (!EncodeUploadBody(batch, body)) return false;
  HttpResponse response;
  try {
    HttpClient client;
    client.SetTimeoutSeconds(kTimeoutSeconds);
    client.SetCaBundle(config.caBundle);
    for (const auto& [name, value] : headers) client.SetHeader(name, value);
    response = client.Post(config.serverUrl, body);
  } catch (const std::exception& error) {
    std::cerr << error.what() << std::endl;
    response.statusCode = -1;
    response.body = error.what();
  }
  if (response.statusCode == 200) return true;
  std::cerr << "ZorvikAnalytics SDK send failed: " << response.body << std::endl;
  return false;
}

}  // namespace zk_analytics
