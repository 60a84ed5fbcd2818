#include "skinkit/Xml.h"

#include <cwchar>

namespace SkinKit {

const std::wstring* XmlElement::Attribute(const std::wstring& attributeName) const {
  for (const auto& attribute : attributes) {
    if (attribute.first == attributeName) return &attribute.second;
  }
  return nullptr;
}

namespace {

constexpr int kMaxDepth = 200;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsNameChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
         c == L'_' || c == L'-' || c == L'.' || c == L':' || c > 0x7F;
}

class Parser {
 public:
  explicit Parser(const std::wstring& text) : s_(text) {
    if (!s_.empty() && s_[0] == 0xFEFF) pos_ = 1;
  }

  XmlResult Run() {
    XmlResult result;
    auto root = std::make_unique<XmlElement>();
    if (ParseDocument(*root)) {
      result.root = std::move(root);
    } else {
      result.error = error_;
      result.offset = offset_;
    }
    return result;
  }

 private:
  bool ParseDocument(XmlElement& root) {
    if (!SkipMisc()) return false;
    if (pos_ >= s_.size() || s_[pos_] != L'<') return Error(XmlError::kNoRootElement, pos_);
    if (!ParseElement(root, 0) || !SkipMisc()) return false;
    if (pos_ < s_.size()) return Error(XmlError::kContentAfterRoot, pos_);
    return true;
  }

  // Records the error and where; false, so a caller can return it.
  bool Error(XmlError error, size_t at) {
    error_ = error;
    offset_ = at;
    return false;
  }

  bool StartsWith(const wchar_t* text) const { return s_.compare(pos_, std::wcslen(text), text) == 0; }

  void SkipBlanks() {
    while (pos_ < s_.size() && IsBlank(s_[pos_])) ++pos_;
  }

  // Skips past `terminator`; false when the document ends first, the error
  // placed where the construct began.
  bool SkipPast(const wchar_t* terminator, XmlError unterminated) {
    const size_t begin = pos_;
    const size_t at = s_.find(terminator, pos_);
    if (at == std::wstring::npos) {
      pos_ = s_.size();
      return Error(unterminated, begin);
    }
    pos_ = at + std::wcslen(terminator);
    return true;
  }

  // Blanks, comments, declarations and processing instructions outside elements.
  bool SkipMisc() {
    for (;;) {
      SkipBlanks();
      if (StartsWith(L"<!--")) {
        if (!SkipPast(L"-->", XmlError::kUnterminatedComment)) return false;
      } else if (StartsWith(L"<?")) {
        if (!SkipPast(L"?>", XmlError::kUnterminatedInstruction)) return false;
      } else if (StartsWith(L"<!DOCTYPE")) {
        if (!SkipPast(L">", XmlError::kUnterminatedDeclaration)) return false;
      } else {
        return true;
      }
    }
  }

  bool ParseName(std::wstring& name) {
    const size_t start = pos_;
    while (pos_ < s_.size() && IsNameChar(s_[pos_])) ++pos_;
    if (pos_ == start) return Error(XmlError::kNameExpected, pos_);
    name.assign(s_, start, pos_ - start);
    return true;
  }

  bool AppendReference(std::wstring& out) {
    const size_t ampersand = pos_;
    const size_t end = s_.find(L';', pos_);
    if (end == std::wstring::npos || end - pos_ > 12) return Error(XmlError::kBadReference, ampersand);
    const std::wstring ref = s_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    if (ref == L"lt") out += L'<';
    else if (ref == L"gt") out += L'>';
    else if (ref == L"amp") out += L'&';
    else if (ref == L"quot") out += L'"';
    else if (ref == L"apos") out += L'\'';
    else if (ref.size() > 1 && ref[0] == L'#') {
      const bool hex = ref[1] == L'x' || ref[1] == L'X';
      wchar_t* stop = nullptr;
      const unsigned long code = std::wcstoul(ref.c_str() + (hex ? 2 : 1), &stop, hex ? 16 : 10);
      if (*stop != 0 || code == 0 || code > 0x10FFFF) return Error(XmlError::kBadCharacterReference, ampersand);
      if (code >= 0x10000 && sizeof(wchar_t) == 2) {
        out += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        out += static_cast<wchar_t>(code);
      }
    } else {
      return Error(XmlError::kUnknownEntity, ampersand);
    }
    return true;
  }

  bool ParseAttributeValue(std::wstring& value) {
    if (pos_ >= s_.size() || (s_[pos_] != L'"' && s_[pos_] != L'\'')) {
      return Error(XmlError::kQuoteExpected, pos_);
    }
    const size_t opening = pos_;
    const wchar_t quote = s_[pos_++];
    while (pos_ < s_.size() && s_[pos_] != quote) {
      if (s_[pos_] == L'<') return Error(XmlError::kLessThanInValue, pos_);
      if (s_[pos_] == L'&') {
        if (!AppendReference(value)) return false;
      } else {
        value += s_[pos_++];
      }
    }
    if (pos_ >= s_.size()) return Error(XmlError::kUnterminatedValue, opening);
    ++pos_;
    return true;
  }

  bool ParseElement(XmlElement& element, int depth) {
    const size_t opening = pos_;
    if (depth > kMaxDepth) return Error(XmlError::kTooDeep, opening);
    ++pos_;  // '<'
    if (!ParseName(element.name)) return false;
    for (;;) {
      const size_t before = pos_;
      SkipBlanks();
      if (pos_ >= s_.size()) return Error(XmlError::kUnterminatedStartTag, opening);
      if (StartsWith(L"/>")) {
        pos_ += 2;
        return true;
      }
      if (s_[pos_] == L'>') {
        ++pos_;
        break;
      }
      if (pos_ == before) return Error(XmlError::kBlankExpected, pos_);
      const size_t nameAt = pos_;
      std::wstring name, value;
      if (!ParseName(name)) return false;
      SkipBlanks();
      if (pos_ >= s_.size() || s_[pos_] != L'=') return Error(XmlError::kEqualsExpected, pos_);
      ++pos_;
      SkipBlanks();
      if (!ParseAttributeValue(value)) return false;
      for (const auto& existing : element.attributes) {
        if (existing.first == name) return Error(XmlError::kDuplicateAttribute, nameAt);
      }
      element.attributes.emplace_back(std::move(name), std::move(value));
    }
    // Content: child elements, comments, character data (ignored).
    for (;;) {
      const size_t lt = s_.find(L'<', pos_);
      if (lt == std::wstring::npos) {
        pos_ = s_.size();
        return Error(XmlError::kMissingEndTag, opening);
      }
      pos_ = lt;
      if (StartsWith(L"</")) {
        pos_ += 2;
        std::wstring name;
        if (!ParseName(name)) return false;
        if (name != element.name) return Error(XmlError::kMismatchedEndTag, lt);
        SkipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != L'>') return Error(XmlError::kEndTagNotClosed, pos_);
        ++pos_;
        return true;
      }
      if (StartsWith(L"<!--")) {
        if (!SkipPast(L"-->", XmlError::kUnterminatedComment)) return false;
      } else if (StartsWith(L"<![CDATA[")) {
        if (!SkipPast(L"]]>", XmlError::kUnterminatedCData)) return false;
      } else if (StartsWith(L"<?")) {
        if (!SkipPast(L"?>", XmlError::kUnterminatedInstruction)) return false;
      } else {
        auto child = std::make_unique<XmlElement>();
        if (!ParseElement(*child, depth + 1)) return false;
        element.children.push_back(std::move(child));
      }
    }
  }

  const std::wstring& s_;
  size_t pos_ = 0;
  XmlError error_ = XmlError::kNone;
  size_t offset_ = 0;
};

}  // namespace

const wchar_t* XmlErrorText(XmlError error) {
  switch (error) {
    case XmlError::kNone: return L"no error";
    case XmlError::kNoRootElement: return L"no root element";
    case XmlError::kContentAfterRoot: return L"content after the root element";
    case XmlError::kUnterminatedComment: return L"unterminated comment";
    case XmlError::kUnterminatedInstruction: return L"unterminated processing instruction";
    case XmlError::kUnterminatedDeclaration: return L"unterminated declaration";
    case XmlError::kUnterminatedCData: return L"unterminated CDATA section";
    case XmlError::kNameExpected: return L"name expected";
    case XmlError::kTooDeep: return L"elements nested too deeply";
    case XmlError::kUnterminatedStartTag: return L"unterminated start tag";
    case XmlError::kBlankExpected: return L"blank expected between attributes";
    case XmlError::kEqualsExpected: return L"'=' expected";
    case XmlError::kQuoteExpected: return L"quoted attribute value expected";
    case XmlError::kLessThanInValue: return L"'<' in attribute value";
    case XmlError::kUnterminatedValue: return L"unterminated attribute value";
    case XmlError::kBadReference: return L"bad entity reference";
    case XmlError::kUnknownEntity: return L"unknown entity";
    case XmlError::kBadCharacterReference: return L"bad character reference";
    case XmlError::kDuplicateAttribute: return L"duplicate attribute";
    case XmlError::kMissingEndTag: return L"missing end tag";
    case XmlError::kMismatchedEndTag: return L"end tag does not close the open element";
    case XmlError::kEndTagNotClosed: return L"'>' expected after the end tag's name";
  }
  return L"unknown error";
}

std::wstring XmlResult::Describe() const {
  if (error == XmlError::kNone) return {};
  return std::wstring(XmlErrorText(error)) + L" at offset " + std::to_wstring(offset);
}

XmlResult ParseXml(const std::wstring& text) { return Parser(text).Run(); }

}  // namespace SkinKit
