// analytics-bench DATA_DIR [SERVER_URL]
// What analytics costs the installer: track calls per second into the queue
// (no upload happens: the batch sender refuses), with a server the time to
// flush 1024 queued records, and the upload body's size against the raw batch.
#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "analytics/BodyEncoding.h"
#include "analytics/ObjectNode.h"
#include "analytics/Sdk.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

zk_analytics::PropertiesNode SampleProperties(int i) {
  zk_analytics::PropertiesNode properties;
  properties.SetString("zk_button_name", "install_button");
  properties.SetString("zk_page_title", "\xE7\xAB\x8B\xE5\x8D\xB3\xE5\xAE\x89\xE8\xA3\x85");
  properties.SetNumber("zk_index", static_cast<int32_t>(i));
  properties.SetNumber("zk_elapsed", 1.25 * i);
  properties.SetBool("zk_first", i == 0);
  return properties;
}

void TrackRate(const std::string& dataDir) {
  zk_analytics::Sdk::InitWithSender(dataDir + "rate_queue.txt", "http://127.0.0.1:9/sa?project=pc",
                                    "bench-device", false,
                                    [](const zk_analytics::SenderConfig&, const std::string&) { return false; });
  constexpr int kCalls = 20000;
  const auto start = Clock::now();
  for (int i = 0; i < kCalls; ++i) zk_analytics::Sdk::Track("ZkEventClick", SampleProperties(i));
  const double seconds = SecondsSince(start);
  std::printf("track calls into the queue: %d in %.3f s, %.0f records per second\n", kCalls, seconds,
              kCalls / seconds);
  zk_analytics::Sdk::Shutdown();
}

void FlushTime(const std::string& dataDir, const std::string& serverUrl) {
  zk_analytics::Sdk::Init(dataDir + "flush_queue.txt", serverUrl, "bench-device", false);
  for (int i = 0; i < 1024; ++i) zk_analytics::Sdk::Track("ZkEventClick", SampleProperties(i));
  const size_t queued = zk_analytics::Sdk::QueuedRecords().size();
  const auto start = Clock::now();
  const bool sent = zk_analytics::Sdk::Flush();
  const double seconds = SecondsSince(start);
  std::printf("flush of %zu queued records to %s: %.3f s (%s)\n", queued, serverUrl.c_str(), seconds,
              sent ? "sent" : "FAILED");
  zk_analytics::Sdk::Shutdown();
}

void BodySize(const std::string& dataDir) {
  zk_analytics::Sdk::InitWithSender(dataDir + "size_queue.txt", "http://127.0.0.1:9/sa?project=pc",
                                    "bench-device", false,
                                    [](const zk_analytics::SenderConfig&, const std::string&) { return false; });
  for (int i = 0; i < 30; ++i) zk_analytics::Sdk::Track("ZkEventClick", SampleProperties(i));
  std::string batch = "[";
  for (const std::string& record : zk_analytics::Sdk::QueuedRecords()) {
    batch += (batch.size() > 1 ? "," : "") + record;
  }
  batch += "]";
  std::string body;
  if (zk_analytics::EncodeUploadBody(batch, body)) {
    std::printf("upload body for a batch of 30: %zu bytes raw, %zu bytes sent (%.1f%%)\n", batch.size(),
                body.size(), 100.0 * static_cast<double>(body.size()) / static_cast<double>(batch.size()));
  }
  zk_analytics::Sdk::Shutdown();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: analytics-bench DATA_DIR [SERVER_URL]\n");
    return 2;
  }
  curl_global_init(CURL_GLOBAL_ALL);
  const std::string dataDir = argv[1];
  TrackRate(dataDir);
  BodySize(dataDir);
  if (argc > 2) FlushTime(dataDir, argv[2]);
  curl_global_cleanup();
  return 0;
}
