#pragma once
// Builds a window's control tree from its description in the skin package.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace SkinKit {

class CControlUI;
class PaintManager;
struct ArchiveEntry;
struct XmlElement;

// Asked for every element name the toolkit does not know; null skips the
// element and its subtree.
class IBuilderCallback {
 public:
  virtual std::unique_ptr<CControlUI> CreateControl(const std::wstring& elementName) = 0;

  virtual ~IBuilderCallback() = default;
};

struct BuildResult {
  std::unique_ptr<CControlUI> root;  // null when nothing could be built
  std::wstring error;                // the loader's or the parser's last error
};

class SkinBuilder {
 public:
  using FileSource = std::function<const ArchiveEntry*(const std::wstring& name)>;
  static constexpr size_t kMaxDescriptionSize = 0x400000;

  // Descriptions come from the process-wide skin package unless `files` says otherwise.
  explicit SkinBuilder(FileSource files = {});

  // Reads `file` from the package; applies its fonts and window attributes to
  // `manager` and returns the control tree (not yet attached).
  BuildResult Build(const std::wstring& file, PaintManager& manager, IBuilderCallback* callback) const;
  // The same from the bytes of a description (UTF-8, optional byte-order mark).
  BuildResult BuildFromBytes(const std::vector<uint8_t>& bytes, PaintManager& manager,
                             IBuilderCallback* callback) const;

 private:
  FileSource files_;
};

// A control of the toolkit's own vocabulary (case-insensitive), or null.
std::unique_ptr<CControlUI> CreateStockControl(const std::wstring& elementName);

}  // namespace SkinKit
