// A child for the process tests. Its first argument picks what it does:
//   args          prints each later argument on a line of its own (UTF-8)
//   print TEXT    writes TEXT as it stands
//   exit N        exits with code N at once
//   stdin         copies its standard input to its standard output
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
  return 2;
}
