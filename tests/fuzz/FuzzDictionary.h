#pragma once
// libFuzzer's dictionary files: one token a line, `"value"` or `name="value"`,
// with \\, \" and \xAB escapes; blank lines and lines starting with '#' are
// skipped.

#include <string>
#include <vector>

namespace FuzzDictionary {

// The tokens in file order; on a malformed line, `error` names it and the
// tokens before it are returned.
std::vector<std::string> Parse(const std::string& text, std::string* error);

}  // namespace FuzzDictionary
