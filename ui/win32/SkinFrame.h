#pragma once
// The base of the installer's windows: binds a window to its description in
// the skin package, takes its style and drop shadow from it, and keeps the
// Escape key from closing or cancelling it.

#include <string>

#include "skinkit/win32/ResourcePackage.h"
#include "skinkit/win32/SkinWindowBase.h"
#include "skinkit/win32/WindowShadow.h"

struct CSkinFrameParams {
  int skinSourceKind = SkinKit::kSkinResourceKind;
  int resourceId = SkinKit::kSkinResourceId;
  std::wstring skinFolder;
  std::wstring skinFile;
  std::wstring windowClassName;  // the skin file's name up to its first "."

  // The parameters of one description of the packed skin.
  static CSkinFrameParams ForSkinFile(const std::wstring& file);
};

class CSkinFrame : public SkinKit::SkinWindowBase {
 public:
  explicit CSkinFrame(CSkinFrameParams params);
  ~CSkinFrame() override;

  LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 protected:
  const wchar_t* GetWindowClassName() const override { return params_.windowClassName.c_str(); }
  std::wstring GetSkinFolder() const override { return params_.skinFolder; }
  std::wstring GetSkinFile() const override { return params_.skinFile; }
  int GetResourceType() const override { return params_.skinSourceKind; }
  int GetResourceID() const override { return params_.resourceId; }
  void InitWindow() override;

  // Takes the bits off the window style and adds the clipping ones.
  void ApplyFrameStyle();

 private:
  CSkinFrameParams params_;
  SkinKit::CWindowShadow shadow_;
};
