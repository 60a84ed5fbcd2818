#pragma once
// Where the test download servers listen: ctest starts them (nginx and the
// fault server, both on 127.0.0.1) before these tests and names their state
// folder in QUORVANE_SERVERS.

#include <map>
#include <string>
#include <vector>

namespace TestSupport {

class DownloadServers {
 public:
  // Fails the test (and returns empty values) when the servers are not there.
  static const DownloadServers& Get();

  std::wstring Value(const std::string& key) const;
  // A file the servers made, as this system names it.
  std::string FilePath(const std::string& key) const;
  std::wstring Nginx(const std::wstring& path) const { return Value("NGINX_URL") + path; }
  std::wstring Fault(const std::wstring& path) const { return Value("FAULT_URL") + path; }
  // Serves a copy of the local file at `path` from nginx as
  // "/files/<its md5>/<name>"; the URL.
  std::wstring Publish(const std::wstring& path, const std::wstring& name) const;
  // A generated file of `length` bytes whose URL carries its true digest.
  std::wstring Generated(long long length, const std::wstring& name,
                         const std::wstring& faults = L"") const;
  std::string Md5Of(long long length) const;  // asks the fault server
  // Bytes first..last (inclusive) of any generated file, fetched without faults.
  std::string GeneratedBytes(long long first, long long last) const;
  // How many GET requests for this fault-server URL its log holds so far.
  int GetRequests(const std::wstring& url) const;
  struct Answer {
    int status;
    long long bytes;  // of the body sent
    bool operator==(const Answer& other) const { return status == other.status && bytes == other.bytes; }
  };
  // nginx's answers so far to GET requests for `path`, in order.
  std::vector<Answer> NginxGets(const std::wstring& path) const;
  bool ok() const { return !values_.empty(); }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace TestSupport
