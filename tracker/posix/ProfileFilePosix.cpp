// The Windows private-profile format: "[Section]" lines, then "key=value"
// lines; names compare without case; the file is rewritten whole on each write.
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "tracker/ProfileFile.h"

namespace zorvik::tracking::profile {

namespace {

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The section a "[name]" line opens, or false for other lines.
bool SectionOf(const std::string& line, std::string& name) {
  const std::string text = Trimmed(line);
  if (text.size() < 2 || text.front() != '[') return false;
  const size_t close = text.find(']');
  name = Trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  key = Trimmed(line.substr(0, equals));
  value = Trimmed(line.substr(equals + 1));
  return true;
}

bool Find(const std::string& path, const std::string& section, const std::string& key, std::string& value) {
  bool inSection = false;
  for (const std::string& line : ReadLines(path)) {
    std::string name, k, v;
    if (SectionOf(line, name)) {
      inSection = SameName(name, section);
    } else if (inSection && KeyOf(line, k, v) && SameName(k, key)) {
      // Quoted values lose their quotes, as the Windows reader does.
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
      }
      value = v;
      return true;
    }
  }
  return false;
}

}  // namespace

std::string ReadString(const std::string& path, const std::string& section, const std::string& key) {
  std::string value;
  if (!Find(path, section, key, value)) return {};
  return value.substr(0, kBufferSize - 1);
}

int ReadInt(const std::string& path, const std::string& section, const std::string& key, int fallback) {
  std::string value;
  if (!Find(path, section, key, value)) return fallback;
  return static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
}

void WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) {
  std::vector<std::string> lines = ReadLines(path);
  const std::string entry = key + "=" + value;
  bool inSection = false, written = false;
  size_t sectionEnd = lines.size();
  bool sectionFound = false;
  for (size_t i = 0; i < lines.size() && !written; ++i) {
    std::string name, k, v;
    if (SectionOf(lines[i], name)) {
      if (inSection) {
        sectionEnd = i;
        break;
      }
      inSection = SameName(name, section);
      sectionFound = sectionFound || inSection;
    } else if (inSection && KeyOf(lines[i], k, v) && SameName(k, key)) {
      lines[i] = entry;
      written = true;
    }
  }
  if (!written) {
    if (sectionFound) {
      // After the section's last non-blank line.
      size_t at = sectionEnd;
      while (at > 0 && Trimmed(lines[at - 1]).empty()) --at;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << line << "\r\n";
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace zorvik::tracking::profile
