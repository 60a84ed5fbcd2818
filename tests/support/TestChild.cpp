// A child for the process tests. Its first argument picks what it does:
//   args          prints each later argument on a line of its own (UTF-8)
//   print TEXT    writes TEXT as it stands
//   exit N        exits with code N at once
//   stdin         copies its standard input to its standard output
//   exists NAME   prints "yes" when NAME, relative to its working folder, exists, else "no"
//   handle N      prints "open" when handle (descriptor) N is open in it, else "closed"
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#endif

namespace {

bool HandleIsOpen(const char* value) {
  const unsigned long long number = std::strtoull(value, nullptr, 10);
#ifdef _WIN32
  DWORD flags = 0;
  const auto handle = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(number));
  return GetHandleInformation(handle, &flags) != 0;
#else
  return fcntl(static_cast<int>(number), F_GETFD) != -1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (std::strcmp(argv[1], "args") == 0) {
    for (int i = 2; i < argc; ++i) std::printf("%s\n", argv[i]);
    return 0;
  }
  if (std::strcmp(argv[1], "print") == 0 && argc > 2) {
    std::fputs(argv[2], stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "exit") == 0 && argc > 2) return std::atoi(argv[2]);
  if (std::strcmp(argv[1], "stdin") == 0) {
    int c;
    while ((c = std::getchar()) != EOF) std::putchar(c);
    return 0;
  }
  if (std::strcmp(argv[1], "exists") == 0 && argc > 2) {
    std::fputs(std::filesystem::exists(argv[2]) ? "yes" : "no", stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "handle") == 0 && argc > 2) {
    std::fputs(HandleIsOpen(argv[2]) ? "open" : "closed", stdout);
    return 0;
  }
  return 2;
}
