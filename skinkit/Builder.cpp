#include "skinkit/Builder.h"

#include "skinkit/Button.h"
#include "skinkit/Container.h"
#include "skinkit/Edit.h"
#include "skinkit/Label.h"
#include "skinkit/PaintManager.h"
#include "skinkit/Progress.h"
#include "skinkit/SkinPackage.h"
#include "skinkit/Values.h"
#include "skinkit/Xml.h"
#include "utils/Encoding.h"

namespace SkinKit {

namespace {

bool IsResourceElement(const std::wstring& name) {
  return EqualsNoCase(name, L"Image") || EqualsNoCase(name, L"Font") ||
         EqualsNoCase(name, L"Default") || EqualsNoCase(name, L"MultiLanguage");
}

void AddFont(const XmlElement& element, PaintManager& manager) {
  const std::wstring* id = element.Attribute(L"id");
  const std::wstring* name = element.Attribute(L"name");
  if (!id || !name) return;
  FontInfo font;
  font.name = *name;
  if (const std::wstring* size = element.Attribute(L"size")) font.size = static_cast<int>(ParseInteger(*size));
  auto flag = [&element](const wchar_t* attribute) {
    const std::wstring* value = element.Attribute(attribute);
    return value && EqualsNoCase(*value, L"true");
  };
  font.bold = flag(L"bold");
  font.underline = flag(L"underline");
  font.italic = flag(L"italic");
  manager.AddFont(static_cast<int>(ParseInteger(*id)), font, flag(L"default"));
}

std::unique_ptr<CControlUI> BuildControl(const XmlElement& element, PaintManager& manager,
                                         IBuilderCallback* callback) {
  std::unique_ptr<CControlUI> control = CreateStockControl(element.name);
  if (!control && callback) control = callback->CreateControl(element.name);
  if (!control) return nullptr;
  control->SetManager(&manager, nullptr);
  for (const auto& attribute : element.attributes) control->SetAttribute(attribute.first, attribute.second);
  if (auto* container = dynamic_cast<CContainerUI*>(control->GetInterface(L"Container"))) {
    for (const auto& child : element.children) {
      if (auto built = BuildControl(*child, manager, callback)) container->Add(std::move(built));
    }
  }
  return control;
}

}  // namespace

std::unique_ptr<CControlUI> CreateStockControl(const std::wstring& elementName) {
  const std::wstring& n = elementName;
  if (EqualsNoCase(n, L"Control")) return std::make_unique<CControlUI>();
  if (EqualsNoCase(n, L"Container")) return std::make_unique<CContainerUI>();
  if (EqualsNoCase(n, L"VerticalLayout")) return std::make_unique<CVerticalLayoutUI>();
  if (EqualsNoCase(n, L"HorizontalLayout")) return std::make_unique<CHorizontalLayoutUI>();
  if (EqualsNoCase(n, L"TabLayout")) return std::make_unique<CTabLayoutUI>();
  if (EqualsNoCase(n, L"Label")) return std::make_unique<CLabelUI>();
  if (EqualsNoCase(n, L"Button")) return std::make_unique<CButtonUI>();
  if (EqualsNoCase(n, L"CheckBox")) return std::make_unique<CCheckBoxUI>();
  if (EqualsNoCase(n, L"Edit")) return std::make_unique<CEditUI>();
  if (EqualsNoCase(n, L"Progress")) return std::make_unique<CProgressUI>();
  return nullptr;
}

SkinBuilder::SkinBuilder(FileSource files) : files_(std::move(files)) {
  if (!files_) {
    files_ = [](const std::wstring& name) { return SkinPackage::Instance().Find(name); };
  }
}

BuildResult SkinBuilder::Build(const std::wstring& file, PaintManager& manager,
                               IBuilderCallback* callback) const {
  BuildResult result;
  const ArchiveEntry* entry = files_(file);
  if (!entry) {
    result.error = L"Could not find ziped file";
    return result;
  }
  return BuildFromBytes(entry->data, manager, callback);
}

BuildResult SkinBuilder::BuildFromBytes(const std::vector<uint8_t>& bytes, PaintManager& manager,
                                        IBuilderCallback* callback) const {
  BuildResult result;
  if (bytes.empty()) {
    result.error = L"File is empty";
    return result;
  }
  if (bytes.size() > kMaxDescriptionSize) {
    result.error = L"File too large";
    return result;
  }
  size_t start = 0;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) start = 3;
  const std::wstring text = Utils::ToWide(
      std::string(reinterpret_cast<const char*>(bytes.data()) + start, bytes.size() - start),
      Utils::kCodePageUtf8);
  XmlResult xml = ParseXml(text);
  if (!xml.root) {
    result.error = xml.Describe();
    return result;
  }
  const XmlElement& window = *xml.root;
  if (!EqualsNoCase(window.name, L"Window")) {
    result.error = L"the root element is not Window";
    return result;
  }
  for (const auto& child : window.children) {
    if (EqualsNoCase(child->name, L"Font")) AddFont(*child, manager);
  }
  for (const auto& attribute : window.attributes) manager.SetWindowAttribute(attribute.first, attribute.second);
  // The first element that makes a control is the root of the tree.
  for (const auto& child : window.children) {
    if (IsResourceElement(child->name)) continue;
    result.root = BuildControl(*child, manager, callback);
    if (result.root) return result;
  }
  result.error = L"the description holds no control";
  return result;
}

}  // namespace SkinKit
