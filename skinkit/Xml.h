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

enum class XmlError {
  kNone,
  kNoRootElement,
  kContentAfterRoot,
  kUnterminatedComment,      // "<!--" without "-->"
  kUnterminatedInstruction,  // "<?" without "?>"
  kUnterminatedDeclaration,  // "<!DOCTYPE" without ">"
  kUnterminatedCData,        // "<![CDATA[" without "]]>"
  kNameExpected,
  kTooDeep,
  kUnterminatedStartTag,
  kBlankExpected,  // between two attributes
  kEqualsExpected,
  kQuoteExpected,
  kLessThanInValue,
  kUnterminatedValue,
  kBadReference,  // "&" without ";" soon after
  kUnknownEntity,
  kBadCharacterReference,
  kDuplicateAttribute,
  kMissingEndTag,
  kMismatchedEndTag,
  kEndTagNotClosed,  // no ">" after an end tag's name
};

// "unknown entity", for diagnostic texts.
const wchar_t* XmlErrorText(XmlError error);

struct XmlResult {
  std::unique_ptr<XmlElement> root;  // null on error
  XmlError error = XmlError::kNone;
  // Where, in characters of the text as given (a byte-order mark counts): the
  // character found wrong, or, for what never ends (a comment, a value, a
  // start tag, an element without its end tag), where it began.
  size_t offset = 0;

  // "unknown entity at offset 12"; empty without an error.
  std::wstring Describe() const;
};

// Parses a whole document held as UTF-16 text (a leading byte-order mark is
// skipped). Exactly one root element; nesting deeper than 200 is refused so a
// hostile file cannot exhaust the stack.
XmlResult ParseXml(const std::wstring& text);

}  // namespace SkinKit
