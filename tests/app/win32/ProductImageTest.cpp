// What Windows reads from the installer's file before running it: machine,
// subsystem, the elevation request, common controls 6, the icon and the version.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace {

struct ImageCase {
  const wchar_t* relativePath;
  WORD machine;
  WORD optionalMagic;
};

class ProductImage : public testing::TestWithParam<ImageCase> {
 protected:
  std::wstring Path() const { return TestSupport::ProgramFolder() + GetParam().relativePath; }
};

std::vector<char> ReadWhole(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

TEST_P(ProductImage, HeaderNamesTheMachineAndTheGuiSubsystem) {
  const std::vector<char> bytes = ReadWhole(Path());
  ASSERT_GT(bytes.size(), 1024u) << "build the win32 and win64 presets first (./run build)";
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, bytes.data(), sizeof dos);
  ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
  const size_t nt = static_cast<size_t>(dos.e_lfanew);
  DWORD signature;
  IMAGE_FILE_HEADER file;
  WORD magic;
  std::memcpy(&signature, bytes.data() + nt, sizeof signature);
  std::memcpy(&file, bytes.data() + nt + 4, sizeof file);
  std::memcpy(&magic, bytes.data() + nt + 4 + sizeof file, sizeof magic);
  EXPECT_EQ(signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
  EXPECT_EQ(file.Machine, GetParam().machine);
  EXPECT_EQ(magic, GetParam().optionalMagic);
  // Subsystem sits at the same offset (68) in both optional-header layouts.
  WORD subsystem;
  std::memcpy(&subsystem, bytes.data() + nt + 4 + sizeof file + 68, sizeof subsystem);
  EXPECT_EQ(subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_P(ProductImage, ResourcesCarryManifestIconAndVersion) {
  HMODULE image = LoadLibraryExW(Path().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr);
  HRSRC manifest = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                         SizeofResource(image, manifest));
  EXPECT_NE(text.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  // Windows 7 and later; Vista, which lacks ChangeWindowMessageFilterEx, is not claimed.
  EXPECT_NE(text.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos);
  EXPECT_NE(text.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);
  EXPECT_EQ(text.find("{e2011457-1546-43c5-a5fe-008deee3d3f0}"), std::string::npos);
  EXPECT_NE(FindResourceW(image, MAKEINTRESOURCEW(145), MAKEINTRESOURCEW(14)), nullptr);  // icon group
  HRSRC version = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
  ASSERT_NE(version, nullptr);
  const auto* block = static_cast<const char*>(LockResource(LoadResource(image, version)));
  const std::wstring versionText(reinterpret_cast<const wchar_t*>(block),
                                 SizeofResource(image, version) / sizeof(wchar_t));
  EXPECT_NE(versionText.find(L"Vellisto"), std::wstring::npos);
  EXPECT_NE(versionText.find(L"1.7.9.0"), std::wstring::npos);
  FreeLibrary(image);
}

// The names of the DLLs an image imports statically, read from its import
// directory through the section table.
std::vector<std::string> ImportedDlls(const std::vector<char>& bytes) {
  auto read = [&](size_t offset, auto& value) {
    if (offset + sizeof value > bytes.size()) return false;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return true;
  };
  IMAGE_DOS_HEADER dos;
  IMAGE_FILE_HEADER file;
  WORD magic;
  if (!read(0, dos)) return {};
  const size_t nt = static_cast<size_t>(dos.e_lfanew);
  if (!read(nt + 4, file) || !read(nt + 4 + sizeof file, magic)) return {};
  const size_t optional = nt + 4 + sizeof file;
  // The data directories follow the fixed fields of either layout.
  const size_t directories = optional + (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC ? 112 : 96);
  IMAGE_DATA_DIRECTORY imports;
  if (!read(directories + IMAGE_DIRECTORY_ENTRY_IMPORT * sizeof imports, imports)) return {};
  const size_t sections = optional + file.SizeOfOptionalHeader;
  auto fileOffset = [&](DWORD rva) -> size_t {
    for (WORD i = 0; i < file.NumberOfSections; ++i) {
      IMAGE_SECTION_HEADER section;
      if (!read(sections + i * sizeof section, section)) return 0;
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.Misc.VirtualSize) {
        return rva - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return 0;
  };
  std::vector<std::string> names;
  for (size_t at = fileOffset(imports.VirtualAddress); at != 0; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR descriptor;
    if (!read(at, descriptor) || descriptor.Name == 0) break;
    std::string name;
    for (size_t i = fileOffset(descriptor.Name); i != 0 && i < bytes.size() && bytes[i] != '\0'; ++i) {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(bytes[i])));
    }
    names.push_back(name);
  }
  return names;
}

// Any other DLL the shipped image named would be looked up beside it first (a
// downloads folder) and loaded elevated before start-up could limit the
// search: the rest is delay-loaded from System32.
TEST(ShippedImage, ImportsOnlyKnownDllsAndTheCommonControls) {
  static const std::set<std::string> allowed = {
      "kernel32.dll", "user32.dll",  "gdi32.dll",    "advapi32.dll", "shell32.dll",
      "ole32.dll",    "oleaut32.dll", "shlwapi.dll", "ws2_32.dll",   "msvcrt.dll",
      "normaliz.dll", "wldap32.dll",  "setupapi.dll", "rpcrt4.dll",  "combase.dll",
      "comctl32.dll"};  // bound side by side by the manifest
  const std::vector<std::string> names =
      ImportedDlls(ReadWhole(TestSupport::ProgramFolder() + L"..\\..\\win32\\QuorvaneInstaller.exe"));
  EXPECT_GT(names.size(), 3u);
  for (const std::string& name : names) EXPECT_EQ(allowed.count(name), 1u) << name;
}

bool Holds(const std::vector<char>& bytes, const std::string& text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// The name as the image could hold it: narrow, or UTF-16 as GetEnvironmentVariableW takes it.
std::vector<std::string> Spellings(const std::string& name) {
  std::string wide;
  for (const char c : name) wide += std::string{c, '\0'};
  return {name, wide};
}

// The test hooks are compiled out of the shipped image: nobody can make it
// crash or misjudge the network through its environment. The test build,
// which has them, shows the search finds the names where they are.
TEST(ShippedImage, ObeysNoTestHook) {
  const std::vector<char> shipped = ReadWhole(TestSupport::ProgramFolder() + L"..\\..\\win32\\QuorvaneInstaller.exe");
  const std::vector<char> testBuild = ReadWhole(TestSupport::ProgramFolder() + L"..\\QuorvaneInstallerTestBuild.exe");
  ASSERT_GT(shipped.size(), 1024u);
  ASSERT_GT(testBuild.size(), 1024u);
  for (const std::string& spelling : Spellings("QUORVANE_TEST_")) EXPECT_FALSE(Holds(shipped, spelling));
  EXPECT_TRUE(Holds(testBuild, Spellings("QUORVANE_TEST_TRIGGER")[1]));
  EXPECT_TRUE(Holds(testBuild, Spellings("QUORVANE_TEST_NETWORK_STATE")[1]));
}

INSTANTIATE_TEST_SUITE_P(
    Builds, ProductImage,
    testing::Values(ImageCase{L"..\\..\\win32\\QuorvaneInstaller.exe", IMAGE_FILE_MACHINE_I386,
                              IMAGE_NT_OPTIONAL_HDR32_MAGIC},
                    ImageCase{L"..\\..\\win64\\QuorvaneInstaller.exe", IMAGE_FILE_MACHINE_AMD64,
                              IMAGE_NT_OPTIONAL_HDR64_MAGIC}),
    [](const testing::TestParamInfo<ImageCase>& param) {
      return param.param.machine == IMAGE_FILE_MACHINE_I386 ? "win32" : "win64";
    });

}  // namespace
