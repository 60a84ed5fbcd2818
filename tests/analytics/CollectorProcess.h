#pragma once
// The local analytics collector (tools/analytics-collector) as a child of the
// test: started on a free 127.0.0.1 port, stopped when the object goes. Its own
// idle timeout ends it should the test die first.

#include <memory>
#include <string>

namespace Utils {
class PipedProcess;
}

namespace TestSupport {

class CollectorProcess {
 public:
  CollectorProcess();
  ~CollectorProcess();
  CollectorProcess(const CollectorProcess&) = delete;
  CollectorProcess& operator=(const CollectorProcess&) = delete;

  bool Running() const { return port_ != 0; }
  int Port() const { return port_; }
  // "http://127.0.0.1:PORT/sa?project=pc"
  std::string UploadUrl() const;

  // "ok", "500", "204", "302" or "stall".
  bool SetMode(const std::string& mode);
  // Each stored batch, decoded, one per line.
  std::string Batches();
  std::string Records();
  std::string Stats();
  std::string LastHeaders();

 private:
  std::string Request(const std::string& path, bool post);

  std::unique_ptr<Utils::PipedProcess> child_;
  int port_ = 0;
};

}  // namespace TestSupport
