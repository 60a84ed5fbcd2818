// Fuzz target for the skin archive reader: any bytes, and two real skin
// archives (headers packed and plain) changed where the input says, must
// either be refused with a reason or give entries that the archive's lookups
// find again. The checksums of changed headers are made right again, mostly,
// so the headers are parsed rather than refused at their checksum; an input
// can also be a whole header of its own in front of a real archive's streams.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "skinkit/SevenZipArchive.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Seed(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Check(bytes.size() > 32);  // a seed that is missing would make every run a no-op
  return bytes;
}

uint32_t Crc32(const std::string& bytes, size_t offset, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = offset; i < offset + size; ++i) {
    crc ^= static_cast<uint8_t>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint64_t Little(const std::string& bytes, size_t offset, int count) {
  uint64_t value = 0;
  for (int i = count; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[offset + static_cast<size_t>(i)]);
  return value;
}

void PutLittle32(std::string& bytes, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

// The signature header's checksums over the changed bytes: the next header's
// (bytes 28..31) where it lies inside the archive, then the start header's.
void FixChecksums(std::string& archive) {
  const uint64_t offset = Little(archive, 12, 8);
  const uint64_t size = Little(archive, 20, 8);
  if (offset <= archive.size() - 32 && size <= archive.size() - 32 - offset) {
    PutLittle32(archive, 28, Crc32(archive, static_cast<size_t>(32 + offset), static_cast<size_t>(size)));
  }
  PutLittle32(archive, 8, Crc32(archive, 12, 20));
}

// `seed` with its next header replaced by `header`, the sizes and checksums
// of the signature header made to match.
std::string WithHeader(const std::string& seed, const std::string& header) {
  const uint64_t offset = Little(seed, 12, 8);
  std::string archive = seed.substr(0, static_cast<size_t>(std::min<uint64_t>(32 + offset, seed.size())));
  archive += header;
  for (size_t i = 0; i < 8; ++i) archive[20 + i] = static_cast<char>(uint64_t{header.size()} >> (8 * i));
  FixChecksums(archive);
  return archive;
}

void Open(const std::string& bytes) {
  // A copy of exactly the input's size, so the sanitizers see any read past it.
  const std::unique_ptr<uint8_t[]> copy = std::make_unique<uint8_t[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), copy.get());
  std::wstring error;
  const auto archive = SkinKit::SevenZipArchive::OpenMemory(copy.get(), bytes.size(), &error);
  if (!archive) {
    Check(!error.empty());
    return;
  }
  for (const SkinKit::ArchiveEntry& entry : archive->Entries()) {
    const SkinKit::ArchiveEntry* found = archive->Find(entry.name);
    Check(found != nullptr && found->name.size() == entry.name.size());
    const SkinKit::ArchiveEntry* at = archive->EntryAt(entry.index);
    Check(at != nullptr && at->index == entry.index);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string seeds[] = {Seed(SEVENZIP_SEED_PACKED_HEADERS), Seed(SEVENZIP_SEED_PLAIN_HEADERS)};
  Open(std::string(reinterpret_cast<const char*>(data), size));
  if (size == 0) return 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0: {
      // Every three bytes change one byte of a seed: two for where, one for
      // the new value; the first byte picks the seed and whether the
      // checksums are made right again.
      std::string mutated = seeds[data[0] & 1];
      for (size_t i = 0; i + 2 < rest.size(); i += 3) {
        mutated[(size_t{static_cast<uint8_t>(rest[i])} << 8 | static_cast<uint8_t>(rest[i + 1])) % mutated.size()] =
            rest[i + 2];
      }
      if ((data[0] & 8) != 0) FixChecksums(mutated);
      Open(mutated);
      break;
    }
    case 1:
      // The input is the plain seed's header, in front of its real packed streams.
      Open(WithHeader(seeds[1], rest));
      break;
    default: {
      const std::string& seed = seeds[data[0] & 1];
      Open(seed.substr(0, static_cast<size_t>(Little(rest + std::string(2, '\0'), 0, 2) % seed.size())));
      break;
    }
  }
  return 0;
}
