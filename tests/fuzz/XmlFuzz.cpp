// Fuzz target for the description parser: any bytes, read as UTF-8 (as skin
// files are) and as raw UTF-16 units, must give either a tree and no error,
// or no tree, an error and an offset inside the text. A tree written back out
// must parse to the same tree, so nothing the parser accepts is changed or lost.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skinkit/Xml.h"
#include "tests/fuzz/FuzzTarget.h"
#include "utils/Encoding.h"

namespace {

using SkinKit::XmlElement;
using SkinKit::XmlError;
using SkinKit::XmlResult;

void Check(bool condition) {
  if (!condition) std::abort();
}

void Escaped(const std::wstring& value, std::wstring& out) {
  for (const wchar_t c : value) {
    if (c == L'&') out += L"&amp;";
    else if (c == L'<') out += L"&lt;";
    else if (c == L'"') out += L"&quot;";
    else out += c;
  }
}

void Write(const XmlElement& element, std::wstring& out) {
  out += L'<' + element.name;
  for (const auto& [name, value] : element.attributes) {
    out += L' ' + name + L"=\"";
    Escaped(value, out);
    out += L'"';
  }
  out += L'>';
  for (const auto& child : element.children) Write(*child, out);
  out += L"</" + element.name + L'>';
}

bool Same(const XmlElement& a, const XmlElement& b) {
  if (a.name != b.name || a.attributes != b.attributes || a.children.size() != b.children.size()) return false;
  for (size_t i = 0; i < a.children.size(); ++i) {
    if (!Same(*a.children[i], *b.children[i])) return false;
  }
  return true;
}

void Parse(const std::wstring& text) {
  const XmlResult result = SkinKit::ParseXml(text);
  if (!result.root) {
    Check(result.error != XmlError::kNone);
    Check(result.offset <= text.size());
    Check(!result.Describe().empty());
    return;
  }
  Check(result.error == XmlError::kNone);
  std::wstring written;
  Write(*result.root, written);
  const XmlResult again = SkinKit::ParseXml(written);
  Check(again.root != nullptr);
  Check(Same(*result.root, *again.root));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Parse(Utils::ToWide(bytes, Utils::kCodePageUtf8));
  std::wstring units;
  for (size_t i = 0; i + 1 < size; i += 2) units += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
  Parse(units);
  return 0;
}
