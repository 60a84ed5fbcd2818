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
    if (!SkipMisc()) return Fail(result);
    if (pos_ >= s_.size() || s_[pos_] != L'<') {
      error_ = L"no root element";
      return Fail(result);
    }
    auto root = std::make_unique<XmlElement>();
    if (!ParseElement(*root, 0)) return Fail(result);
    if (!SkipMisc()) return Fail(result);
    if (pos_ < s_.size()) {
      error_ = L"content after the root element";
      return Fail(result);
    }
    result.root = std::move(root);
    return result;
  }

 private:
  XmlResult Fail(XmlResult& result) {
    result.root.reset();
    result.error = error_ + L" at offset " + std::to_wstring(pos_);
    return std::move(result);
  }

  bool StartsWith(const wchar_t* text) const { return s_.compare(pos_, std::wcslen(text), text) == 0; }

  void SkipBlanks() {
    while (pos_ < s_.size() && IsBlank(s_[pos_])) ++pos_;
  }

  // Skips past `terminator`; false when the document ends first.
  bool SkipPast(const wchar_t* terminator) {
    const size_t at = s_.find(terminator, pos_);
    if (at == std::wstring::npos) {
      error_ = std::wstring(L"missing \"") + terminator + L"\"";
      pos_ = s_.size();
      return false;
    }
    pos_ = at + std::wcslen(terminator);
    return true;
  }

  // Blanks, comments, declarations and processing instructions outside elements.
  bool SkipMisc() {
    for (;;) {
      SkipBlanks();
      if (StartsWith(L"<!--")) {
        if (!SkipPast(L"-->")) return false;
      } else if (StartsWith(L"<?")) {
        if (!SkipPast(L"?>")) return false;
      } else if (StartsWith(L"<!DOCTYPE")) {
        if (!SkipPast(L">")) return false;
      } else {
        return true;
      }
    }
  }

  bool ParseName(std::wstring& name) {
    const size_t start = pos_;
    while (pos_ < s_.size() && IsNameChar(s_[pos_])) ++pos_;
    if (pos_ == start) {
      error_ = L"name expected";
      return false;
    }
    name.assign(s_, start, pos_ - start);
    return true;
  }

  bool AppendReference(std::wstring& out) {
    const size_t end = s_.find(L';', pos_);
    if (end == std::wstring::npos || end - pos_ > 12) {
      error_ = L"bad entity reference";
      return false;
    }
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
      if (*stop != 0 || code == 0 || code > 0x10FFFF) {
        error_ = L"bad character reference";
        return false;
      }
      if (code >= 0x10000 && sizeof(wchar_t) == 2) {
        out += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        out += static_cast<wchar_t>(code);
      }
    } else {
      error_ = L"unknown entity";
      return false;
    }
    return true;
  }

  bool ParseAttributeValue(std::wstring& value) {
    if (pos_ >= s_.size() || (s_[pos_] != L'"' && s_[pos_] != L'\'')) {
      error_ = L"quoted attribute value expected";
      return false;
    }
    const wchar_t quote = s_[pos_++];
    while (pos_ < s_.size() && s_[pos_] != quote) {
      if (s_[pos_] == L'<') {
        error_ = L"'<' in attribute value";
        return false;
      }
      if (s_[pos_] == L'&') {
        if (!AppendReference(value)) return false;
      } else {
        value += s_[pos_++];
      }
    }
    if (pos_ >= s_.size()) {
      error_ = L"unterminated attribute value";
      return false;
    }
    ++pos_;
    return true;
  }

  bool ParseElement(XmlElement& element, int depth) {
    if (depth > kMaxDepth) {
      error_ = L"elements nested too deeply";
      return false;
    }
    ++pos_;  // '<'
    if (!ParseName(element.name)) return false;
    for (;;) {
      const size_t before = pos_;
      SkipBlanks();
      if (pos_ >= s_.size()) {
        error_ = L"unterminated start tag";
        return false;
      }
      if (StartsWith(L"/>")) {
        pos_ += 2;
        return true;
      }
      if (s_[pos_] == L'>') {
        ++pos_;
        break;
      }
      if (pos_ == before) {
        error_ = L"blank expected between attributes";
        return false;
      }
      std::wstring name, value;
      if (!ParseName(name)) return false;
      SkipBlanks();
      if (pos_ >= s_.size() || s_[pos_] != L'=') {
        error_ = L"'=' expected";
        return false;
      }
      ++pos_;
      SkipBlanks();
      if (!ParseAttributeValue(value)) return false;
      for (const auto& existing : element.attributes) {
        if (existing.first == name) {
          error_ = L"duplicate attribute " + name;
          return false;
        }
      }
      element.attributes.emplace_back(std::move(name), std::move(value));
    }
    // Content: child elements, comments, character data (ignored).
    for (;;) {
      const size_t lt = s_.find(L'<', pos_);
      if (lt == std::wstring::npos) {
        pos_ = s_.size();
        error_ = L"missing end tag of " + element.name;
        return false;
      }
      pos_ = lt;
      if (StartsWith(L"</")) {
        pos_ += 2;
        std::wstring name;
        if (!ParseName(name)) return false;
        if (name != element.name) {
          error_ = L"end tag " + name + L" does not close " + element.name;
          return false;
        }
        SkipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != L'>') {
          error_ = L"'>' expected";
          return false;
        }
        ++pos_;
        return true;
      }
      if (StartsWith(L"<!--")) {
        if (!SkipPast(L"-->")) return false;
      } else if (StartsWith(L"<![CDATA[")) {
        if (!SkipPast(L"]]>")) return false;
      } else if (StartsWith(L"<?")) {
        if (!SkipPast(L"?>")) return false;
      } else {
        auto child = std::make_unique<XmlElement>();
        if (!ParseElement(*child, depth + 1)) return false;
        element.children.push_back(std::move(child));
      }
    }
  }

  const std::wstring& s_;
  size_t pos_ = 0;
  std::wstring error_;
};

}  // namespace

XmlResult ParseXml(const std::wstring& text) { return Parser(text).Run(); }

}  // namespace SkinKit
