#pragma once
// What is wrong with a folder typed for the installation, before anything is
// created: only a full local path (drive letter, colon, separator) whose
// names Windows can hold is accepted.

#include <string>

namespace InstallRun {

enum class FolderProblem {
  kNone,
  kEmpty,
  kRelative,       // no drive and root: it would land under the current folder
  kNetwork,        // \\server\share and other paths that start with two separators
  kBadCharacters,  // < > : " | ? * or control characters, or a name ending in a dot or blank
  kReservedName,   // CON, NUL, COM1 ... which name devices, not folders
};

FolderProblem CheckInstallFolder(const std::wstring& folder);

// The message window's text saying what is wrong; empty for kNone.
const wchar_t* FolderProblemText(FolderProblem problem);

}  // namespace InstallRun
