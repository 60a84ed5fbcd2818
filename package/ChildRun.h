#pragma once
// The read loop both runners share: start the child on pipes, interpret its
// output while it lives, wait for it.

#include <memory>
#include <string>

#include "package/OutputProtocol.h"
#include "utils/File.h"
#include "utils/Process.h"

struct ChildRunStyle {
  bool stopReadingAtOutcome;  // the package runner only waits once it knows the outcome
  int pauseAfterReadMs;       // the package runner paces its reads
};

// True when an outcome line was seen. `child` holds the process while it runs
// and is empty afterwards. `image`, the program's file as it was verified, is
// held until the process has been created from it. Throws Utils::Exception
// (a std::exception) when the pipes or the process cannot be created.
bool RunChild(std::unique_ptr<Utils::PipedProcess>& child, const std::wstring& commandLine,
              OutputInterpreter& interpreter, const ChildRunStyle& style, Utils::File image);
