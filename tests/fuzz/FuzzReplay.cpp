// Runs a fuzz target without a fuzzing engine: the files named on the command
// line, or a fixed number of inputs put together from protocol fragments by a
// seeded generator, so every run is the same and ends by itself.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzTarget.h"

namespace {

const char* const kFragments[] = {
    "Progress=", "State=", "Success", "Fail", "Error=", "Encode=", "UTF8", "ACP", "936", "65001",
    "InstPath=", "ExePath=", "StartExe=", "UninstExePath=", "UninstExe=", "UninstEp=",
    "TopShowDetention=", "FinsihCloseDetention=", "StartUrl=", "StartupStyle=", "AutoStartup",
    "Message=", "InstallVersion=", "1.7.9", "-1", "99999999999999999999", "0.5", "1e308", "nan",
    "4294967295", "12345", "1200",
    "\n", "\r\n", "\r", " ", "\t", "\xB0\xB2", "\xE5\xAE\x89", "\xFF\xFE", std::string(1, '\0').c_str()};

std::string Generate(std::mt19937& random) {
  std::string input;
  const int pieces = static_cast<int>(random() % 24);
  for (int i = 0; i < pieces; ++i) {
    if (random() % 5 == 0) {
      input += static_cast<char>(random() % 256);
    } else {
      input += kFragments[random() % (sizeof kFragments / sizeof kFragments[0])];
    }
  }
  if (random() % 50 == 0) input += std::string(900, 'x');
  return input;
}

void Run(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) {
      std::ifstream in(argv[i], std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      Run(text.str());
    }
    return 0;
  }
  std::mt19937 random(20261210);
  const int count = 20000;
  for (int i = 0; i < count; ++i) Run(Generate(random));
  std::printf("%d generated inputs ran\n", count);
  return 0;
}
