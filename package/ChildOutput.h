#pragma once
// A child's standard output as it arrives, in pieces of any size: the bytes
// are assembled into lines, and each line is decoded and interpreted once its
// line feed has arrived, with the code page in force at that moment. The first
// line that decides the outcome ends the interpretation: whatever follows is
// read and dropped, so the run has exactly one outcome.

#include <cstddef>
#include <string>

#include "package/OutputProtocol.h"

class ChildOutput {
 public:
  // Longer lines keep their first bytes: no value the protocol keeps is longer.
  static constexpr size_t kMaxLineBytes = 8192;

  ChildOutput(ChildKind kind, StatusCallback callback);

  void Feed(const char* bytes, size_t count);
  // The child has ended: what is left without a line feed is its last line.
  void Finish();

  bool OutcomeSeen() const { return outcomeSeen_; }

 private:
  void Complete();

  OutputInterpreter interpreter_;
  std::string line_;
  bool outcomeSeen_ = false;
};
