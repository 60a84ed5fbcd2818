// Runs a fuzz target without a fuzzing engine: the files named on the command
// line (a folder stands for every file in it, such as the inputs kept from
// faults once found), then `-runs=` inputs put together by a seeded generator
// from the tokens of the `-dict=` file (libFuzzer's dictionary format), or,
// without one, from protocol fragments. Every run is the same and ends by
// itself. Without any argument it generates 20000 inputs.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzDictionary.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

const char* const kFragments[] = {
    "Progress=", "State=", "Success", "Fail", "Error=", "Encode=", "UTF8", "ACP", "936", "65001",
    "InstPath=", "ExePath=", "StartExe=", "UninstExePath=", "UninstExe=", "UninstEp=",
    "TopShowDetention=", "FinsihCloseDetention=", "StartUrl=", "StartupStyle=", "AutoStartup",
    "Message=", "InstallVersion=", "1.7.9", "-1", "99999999999999999999", "0.5", "1e308", "nan",
    "4294967295", "12345", "1200",
    "\n", "\r\n", "\r", " ", "\t", "\xB0\xB2", "\xE5\xAE\x89", "\xFF\xFE", std::string(1, '\0').c_str()};

std::string Generate(std::mt19937& random, const std::vector<std::string>& tokens) {
  std::string input;
  const int pieces = static_cast<int>(random() % 24);
  for (int i = 0; i < pieces; ++i) {
    if (random() % 5 == 0) {
      input += static_cast<char>(random() % 256);
    } else {
      input += tokens[random() % tokens.size()];
    }
  }
  if (random() % 50 == 0) input += std::string(900, 'x');
  return input;
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Run(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "%s\n", why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> tokens(std::begin(kFragments), std::end(kFragments));
  std::vector<std::filesystem::path> inputs;
  long runs = argc > 1 ? 0 : 20000;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("-dict=", 0) == 0) {
      std::string error;
      tokens = FuzzDictionary::Parse(ReadWhole(arg.substr(6)), &error);
      if (!error.empty()) return Fail(arg.substr(6) + ": " + error);
      if (tokens.empty()) return Fail(arg.substr(6) + ": no tokens");
    } else if (arg.rfind("-runs=", 0) == 0) {
      runs = std::strtol(arg.c_str() + 6, nullptr, 10);
    } else if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
      }
    } else {
      inputs.emplace_back(arg);
    }
  }
  std::sort(inputs.begin(), inputs.end());  // a folder lists its files in no set order
  for (const auto& input : inputs) {
    if (!std::filesystem::is_regular_file(input)) return Fail(input.string() + ": no such input");
    Run(ReadWhole(input));
  }
  std::mt19937 random(20261210);
  for (long i = 0; i < runs; ++i) Run(Generate(random, tokens));
  std::printf("%zu kept inputs and %ld generated inputs ran\n", inputs.size(), runs);
  return 0;
}
