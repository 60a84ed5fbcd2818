#pragma once
// Whether a text is exactly one JSON object (RFC 8259) in valid UTF-8: what a
// line of the staging file must be before it may be sent, since the collector
// refuses a whole batch for one bad record.

#include <string>

namespace zk_analytics::utils {

bool IsOneJsonObject(const std::string& text);

}  // namespace zk_analytics::utils
