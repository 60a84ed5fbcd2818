#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/ScriptedChild.h"

namespace ScriptedChild {
namespace {

std::string SidePath(const char* suffix) {
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  const char* home = std::getenv("SCRIPTED_CHILD_HOME");
  if (home == nullptr) return self.string() + suffix;
  return (std::filesystem::path(home) / self.filename()).string() + suffix;
}

}  // namespace

std::string ReadSideFile(const char* suffix) {
  std::ifstream in(SidePath(suffix), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteSideFile(const char* suffix, const std::string& bytes) {
  std::ofstream(SidePath(suffix), std::ios::binary) << bytes;
}

void WriteOut(const std::string& bytes) {
  if (write(1, bytes.data(), bytes.size()) < 0) _exit(3);
}

void WriteErr(const std::string& bytes) {
  if (write(2, bytes.data(), bytes.size()) < 0) _exit(3);
}

// No raw command line exists here: the arguments, one a line.
std::string CommandLine(int argc, char** argv) {
  std::string text;
  for (int i = 0; i < argc; ++i) text += std::string(argv[i]) + "\n";
  return text;
}

void SleepMs(int milliseconds) { usleep(static_cast<useconds_t>(milliseconds) * 1000u); }

}  // namespace ScriptedChild
