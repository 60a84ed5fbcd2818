#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "analytics/BodyEncoding.h"
#include "analytics/HttpClient.h"
#include "analytics/RecordSender.h"
#include "analytics/Sdk.h"
#include "tests/analytics/CollectorProcess.h"
#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"

namespace {

using zk_analytics::PropertiesNode;
using zk_analytics::Sdk;

std::string Gunzip(const std::string& bytes) {
  z_stream stream{};
  if (inflateInit2(&stream, 31) != Z_OK) return "inflateInit2 failed";
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  char buffer[4096];
  int result;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
  } while (result == Z_OK);
  inflateEnd(&stream);
  return result == Z_STREAM_END ? out : "inflate failed";
}

TEST(BodyEncoding, Base64FollowsRfc4648) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},          {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
      {"\xFB\xFF", "+/8="}, {std::string("\0\0\0", 3), "AAAA"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(zk_analytics::Base64Encode(in), out) << in;
}

TEST(BodyEncoding, PercentEncodingKeepsOnlyUnreservedBytes) {
  EXPECT_EQ(zk_analytics::PercentEncode("aZ09-._~"), "aZ09-._~");
  EXPECT_EQ(zk_analytics::PercentEncode("+/= &\xE5"), "%2B%2F%3D%20%26%E5");
  EXPECT_EQ(zk_analytics::PercentEncode(std::string("\0", 1)), "%00");
}

TEST(BodyEncoding, GzipRoundTripsAndTheBodyHasBothFields) {
  std::string batch = "[";
  for (int i = 0; i < 2000; ++i) batch += "{\"n\":" + std::to_string(i) + "},";
  batch += "\"\xE5\xAE\x89\"]";
  std::string compressed;
  ASSERT_TRUE(zk_analytics::GzipCompress(batch, compressed));
  ASSERT_GE(compressed.size(), 2u);
  EXPECT_EQ(compressed.substr(0, 2), "\x1F\x8B");
  EXPECT_EQ(Gunzip(compressed), batch);
  std::string body;
  ASSERT_TRUE(zk_analytics::EncodeUploadBody(batch, body));
  EXPECT_EQ(body, "data_list=" +
                      zk_analytics::PercentEncode(zk_analytics::Base64Encode(compressed)) + "&gzip=1");
}

void TrackMany(int count) {
  for (int i = 0; i < count; ++i) {
    PropertiesNode p;
    p.SetNumber("i", int32_t{i});
    p.SetNumber("f", 0.1 * i);
    p.SetString("text", "quote\" back\\ tab\t nl\n cr\r \xE5\xAE\x89\xE8\xA3\x85 + / = & %");
    Sdk::Track("ZkEventClick", p);
  }
}

std::string Joined(const std::vector<std::string>& records, size_t from, size_t to) {
  std::string out = "[";
  for (size_t i = from; i < to; ++i) out += (i == from ? "" : ",") + records[i];
  return out + "]";
}

// Uploads to the local collector, started for each test.
class Upload : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(collector_.Running()); }
  void TearDown() override { Sdk::Shutdown(); }

  bool StartSdk() {
    Sdk::Shutdown();
    return Sdk::Init(Utils::ToNarrow(folder_ / L"staged.txt", Utils::kCodePageAnsi),
                     collector_.UploadUrl(), "device-1", false);
  }

  TestSupport::CollectorProcess collector_;
  TestSupport::ScratchFolder folder_{L"upload"};
};

TEST_F(Upload, EverythingUploadedDecodesBackByteForByte) {
  ASSERT_TRUE(StartSdk());
  TrackMany(35);
  Sdk::ProfileAppend("tags", "x");
  const std::vector<std::string> records = Sdk::QueuedRecords();
  ASSERT_EQ(records.size(), 36u);
  EXPECT_TRUE(Sdk::Flush());
  EXPECT_TRUE(Sdk::QueuedRecords().empty());
  EXPECT_EQ(collector_.Batches(), Joined(records, 0, 30) + "\n" + Joined(records, 30, 36) + "\n");
  EXPECT_EQ(collector_.Stats(), "batches=2 records=36 rejected=0 attempts=2");
}

TEST_F(Upload, RequestCarriesTheUserAgentAndTheLibrarysFormContentType) {
  ASSERT_TRUE(StartSdk());
  TrackMany(1);
  ASSERT_TRUE(Sdk::Flush());
  const std::string headers = collector_.LastHeaders();
  EXPECT_NE(headers.find("User-Agent: ZorvikAnalytics CPP SDK 0.9\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("Content-Type: application/x-www-form-urlencoded\n"), std::string::npos)
      << headers;
}

TEST_F(Upload, ResponseStatusAndHeadersAreReported) {
  zk_analytics::HttpClient client;
  client.SetTimeoutSeconds(3);
  const auto response = client.Post(
      "http://127.0.0.1:" + std::to_string(collector_.Port()) + "/control?mode=ok", "");
  EXPECT_EQ(response.statusCode, 200);
  EXPECT_EQ(response.body, "mode=ok");
  EXPECT_EQ(response.headers.at("HTTP/1.1 200 OK"), "present");
  EXPECT_EQ(response.headers.at("Content-Type"), "text/plain; charset=utf-8");
  EXPECT_EQ(response.headers.at("Content-Length"), "7");
}

TEST_F(Upload, AnyStatusButTwoHundredIsAFailure) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"500", "collector told to fail"}, {"204", ""}, {"302", "moved"}};
  for (const auto& [mode, body] : cases) {
    ASSERT_TRUE(collector_.SetMode(mode));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(zk_analytics::RecordSender::Send({collector_.UploadUrl(), {}}, "[{}]", {})) << mode;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ZorvikAnalytics SDK send failed: " + body + "\n");
  }
  EXPECT_EQ(collector_.Stats(), "batches=0 records=0 rejected=0 attempts=3");
}

TEST_F(Upload, AStalledCollectorFailsTheSendAndNothingIsLost) {
  ASSERT_TRUE(StartSdk());
  TrackMany(40);
  const std::vector<std::string> records = Sdk::QueuedRecords();
  ASSERT_TRUE(collector_.SetMode("stall"));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(Sdk::Flush());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ZorvikAnalytics SDK send failed: Timeout was reached\n");
  EXPECT_EQ(Sdk::QueuedRecords(), records);
  ASSERT_TRUE(collector_.SetMode("ok"));
  EXPECT_TRUE(Sdk::Flush());
  EXPECT_EQ(collector_.Batches(), Joined(records, 0, 30) + "\n" + Joined(records, 30, 40) + "\n");
}

// Uploads to the collector over TLS, whose certificate a test CA signed.
class TlsUpload : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(collector_.Running()); }
  void TearDown() override { Sdk::Shutdown(); }

  bool StartSdk(const std::string& caBundle) {
    Sdk::Shutdown();
    return Sdk::Init(Utils::ToNarrow(folder_ / L"staged.txt", Utils::kCodePageAnsi),
                     collector_.UploadUrl(), "device-1", false, caBundle);
  }

  TestSupport::CollectorProcess collector_{TestSupport::CollectorProcess::Scheme::Https};
  TestSupport::ScratchFolder folder_{L"tls-upload"};
};

TEST_F(TlsUpload, TheGivenCaBundleIsTrusted) {
  ASSERT_TRUE(StartSdk(collector_.TestCa()));
  TrackMany(35);
  const std::vector<std::string> records = Sdk::QueuedRecords();
  EXPECT_TRUE(Sdk::Flush());
  EXPECT_EQ(collector_.Batches(), Joined(records, 0, 30) + "\n" + Joined(records, 30, 35) + "\n");
}

TEST_F(TlsUpload, AnUnknownCaFailsTheSendAndTheRecordsGoOutLater) {
  // An unrelated bundle, and none (the system's store, which lacks the test CA).
  std::string sent;
  for (const std::string& untrusted : {collector_.OtherCa(), std::string()}) {
    ASSERT_TRUE(StartSdk(untrusted));
    TrackMany(3);
    const std::vector<std::string> records = Sdk::QueuedRecords();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Sdk::Flush()) << untrusted;
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_EQ(diagnostics.rfind("ZorvikAnalytics SDK send failed: ", 0), 0u) << diagnostics;
    EXPECT_EQ(diagnostics.find('\n'), diagnostics.size() - 1) << diagnostics;
    EXPECT_EQ(Sdk::QueuedRecords(), records);
    // Staged by the shutdown, sent by the next run that trusts the collector.
    ASSERT_TRUE(StartSdk(collector_.TestCa()));
    EXPECT_TRUE(Sdk::Flush());
    sent += Joined(records, 0, 3) + "\n";
    EXPECT_EQ(collector_.Batches(), sent) << untrusted;
  }
  // The refused handshakes never reached the upload handler.
  EXPECT_EQ(collector_.Stats(), "batches=2 records=6 rejected=0 attempts=2");
}

TEST(UploadWithoutServer, AClosedPortIsATransportFailure) {
  // Port 9 (discard) has no listener on a test machine's loopback.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(zk_analytics::RecordSender::Send({"http://127.0.0.1:9/sa?project=pc", {}}, "[{}]", {}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ZorvikAnalytics SDK send failed: Couldn't connect to server\n");
}

}  // namespace
