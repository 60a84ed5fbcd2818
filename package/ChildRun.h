#pragma once
// The read loop both runners share: start the child on pipes, interpret its
// output while it lives, wait for it.

#include <memory>
#include <string>

#include "package/OutputProtocol.h"
#include "utils/File.h"
#include "utils/Process.h"

// True when an outcome line was seen. `child` holds the process while it runs
// and is empty afterwards. Every run decodes from the ANSI code page on, until
// its child announces another. `image`, the program's file as it was verified,
// is held until the process has been created from it. Throws Utils::Exception
// (a std::exception) when the pipes or the process cannot be created.
bool RunChild(std::unique_ptr<Utils::PipedProcess>& child, const std::wstring& commandLine,
              ChildKind kind, const StatusCallback& callback, Utils::File image);
