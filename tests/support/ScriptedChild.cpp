// A child that plays a script for the runner tests. The script lies beside the
// program as "<program>.script" (or, with SCRIPTED_CHILD_HOME set, in that
// folder under the program's file name, for copies the test cannot place
// beside), one step a line:
//   write TEXT   one write of TEXT; \n \r \t \\ and \xHH are escapes
//   sleep MS     pause
//   record       save the command line it was given as "<program>.cmdline"
//   exit N       end with exit code N at once
// The runners build their own command lines, hence a script file, not arguments.
#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/support/ScriptedChild.h"

namespace {

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    if (c == 'n') {
      out += '\n';
    } else if (c == 'r') {
      out += '\r';
    } else if (c == 't') {
      out += '\t';
    } else if (c == 'x' && i + 2 < text.size()) {
      out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::istringstream script(ScriptedChild::ReadSideFile(".script"));
  std::string line;
  while (std::getline(script, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t blank = line.find(' ');
    const std::string verb = line.substr(0, blank);
    const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (verb == "write") {
      ScriptedChild::WriteOut(Unescape(rest));
    } else if (verb == "sleep") {
      ScriptedChild::SleepMs(std::atoi(rest.c_str()));
    } else if (verb == "record") {
      ScriptedChild::WriteSideFile(".cmdline", ScriptedChild::CommandLine(argc, argv));
    } else if (verb == "exit") {
      return std::atoi(rest.c_str());
    }
  }
  return 0;
}
