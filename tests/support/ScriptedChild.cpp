// A child that plays a script for the runner tests. The script lies beside the
// program as "<program>.script" (or, with SCRIPTED_CHILD_HOME set, in that
// folder under the program's file name, for copies the test cannot place
// beside), one step a line:
//   write TEXT     one write of TEXT to standard output; \n \r \t \\ and \xHH are escapes
//   error TEXT     the same, to standard error
//   sleep MS       pause
//   record         save the command line it was given as "<program>.cmdline"
//   repeat N STEP  play STEP N times
//   exit N         end with exit code N at once
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

// Plays one step; false when the step ends the child, with `exitCode`.
bool Play(const std::string& step, int argc, char** argv, int& exitCode) {
  const size_t blank = step.find(' ');
  const std::string verb = step.substr(0, blank);
  const std::string rest = blank == std::string::npos ? "" : step.substr(blank + 1);
  if (verb == "write") {
    ScriptedChild::WriteOut(Unescape(rest));
  } else if (verb == "error") {
    ScriptedChild::WriteErr(Unescape(rest));
  } else if (verb == "sleep") {
    ScriptedChild::SleepMs(std::atoi(rest.c_str()));
  } else if (verb == "record") {
    ScriptedChild::WriteSideFile(".cmdline", ScriptedChild::CommandLine(argc, argv));
  } else if (verb == "repeat") {
    const size_t blank2 = rest.find(' ');
    const std::string repeated = blank2 == std::string::npos ? "" : rest.substr(blank2 + 1);
    for (int i = std::atoi(rest.c_str()); i > 0; --i) {
      if (!Play(repeated, argc, argv, exitCode)) return false;
    }
  } else if (verb == "exit") {
    exitCode = std::atoi(rest.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::istringstream script(ScriptedChild::ReadSideFile(".script"));
  std::string line;
  int exitCode = 0;
  while (std::getline(script, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!Play(line, argc, argv, exitCode)) break;
  }
  return exitCode;
}
