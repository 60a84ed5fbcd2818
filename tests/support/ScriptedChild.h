#pragma once
// The platform side of the scripted child: its own side files, raw writes to
// its standard output and the command line it was given.

#include <string>

namespace ScriptedChild {

std::string ReadSideFile(const char* suffix);  // "<own path><suffix>"; empty when missing
void WriteSideFile(const char* suffix, const std::string& bytes);
void WriteOut(const std::string& bytes);  // one write, no text-mode translation
void WriteErr(const std::string& bytes);  // the same on standard error
std::string CommandLine(int argc, char** argv);
void SleepMs(int milliseconds);

}  // namespace ScriptedChild
