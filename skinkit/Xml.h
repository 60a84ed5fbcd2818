#pragma once
// A small XML reader for window descriptions: elements, attributes, comments,
// the declaration and processing instructions, character references and the
// five predefined entities. Text content is not kept: descriptions carry
// everything in attributes.

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace SkinKit {

struct XmlElement {
  std::wstring name;
  std::vector<std::pair<std::wstring, std::wstring>> attributes;  // document order
  std::vector<std::unique_ptr<XmlElement>> children;

  // The value of the first attribute named `name` (exact match), or null.
  const std::wstring* Attribute(const std::wstring& attributeName) const;
};

struct XmlResult {
  std::unique_ptr<XmlElement> root;  // null on error
  std::wstring error;                // why, and where
};

// Parses a whole document held as UTF-16 text (a leading byte-order mark is
// skipped). Exactly one root element; nesting deeper than 200 is refused so a
// hostile file cannot exhaust the stack.
XmlResult ParseXml(const std::wstring& text);

}  // namespace SkinKit
