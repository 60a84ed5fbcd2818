#pragma once
// The local analytics collector (tools/analytics-collector) as a child of the
// test: started on a free 127.0.0.1 port, stopped when the object goes. Its own
// idle timeout ends it should the test die first. Over TLS it serves a
// "localhost" certificate from a test CA made for it.

#include <memory>
#include <string>

#include "tests/support/TestFiles.h"

namespace Utils {
class PipedProcess;
}

namespace TestSupport {

class CollectorProcess {
 public:
  enum class Scheme { Http, Https };

  explicit CollectorProcess(Scheme scheme = Scheme::Http);
  ~CollectorProcess();
  CollectorProcess(const CollectorProcess&) = delete;
  CollectorProcess& operator=(const CollectorProcess&) = delete;

  bool Running() const { return port_ != 0; }
  int Port() const { return port_; }
  // "http://127.0.0.1:PORT/sa?project=pc", or "https://localhost:PORT/..."
  std::string UploadUrl() const;
  // Over TLS: the CA that signed the collector's certificate, and one that did not.
  std::string TestCa() const;
  std::string OtherCa() const;

  // "ok", "500", "204", "302" or "stall".
  bool SetMode(const std::string& mode);
  // Each stored batch, decoded, one per line.
  std::string Batches();
  std::string Records();
  std::string Stats();
  std::string LastHeaders();

 private:
  std::string Request(const std::string& path, bool post);
  std::string BaseUrl() const;
  std::string TlsFile(const char* name) const;

  const Scheme scheme_;
  ScratchFolder certificates_{L"collector-ca"};
  std::string tlsFolder_;  // as the CA maker printed it
  std::unique_ptr<Utils::PipedProcess> child_;
  int port_ = 0;
};

}  // namespace TestSupport
