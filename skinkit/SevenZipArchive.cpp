#include "skinkit/SevenZipArchive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

extern "C" {
#include <7z.h>
#include <7zCrc.h>
#include <7zTypes.h>
}

namespace SkinKit {

namespace {

// The SDK sizes its buffers by the archive's own numbers, which a damaged
// header can make as large as it likes: no one buffer may be larger than a
// whole skin can be, so such an archive is refused instead of exhausting
// memory.
constexpr size_t kMaxBuffer = size_t{64} << 20;

void* BoundedAlloc(ISzAllocPtr, size_t size) {
  return size == 0 || size > kMaxBuffer ? nullptr : std::malloc(size);
}

void BoundedFree(ISzAllocPtr, void* address) { std::free(address); }

const ISzAlloc kAllocMain = {BoundedAlloc, BoundedFree};
const ISzAlloc kAllocTemp = {BoundedAlloc, BoundedFree};

// An ISeekInStream over a byte range the caller keeps alive.
struct MemoryStream {
  ISeekInStream vt;
  const uint8_t* data;
  size_t size;
  size_t pos;
};

MemoryStream* StreamOf(ISeekInStreamPtr p) {
  // The vtable is the first member, so the stream starts where it does.
  return const_cast<MemoryStream*>(reinterpret_cast<const MemoryStream*>(p));
}

SRes MemoryRead(ISeekInStreamPtr p, void* buf, size_t* size) {
  MemoryStream* s = StreamOf(p);
  const size_t n = std::min(*size, s->size - s->pos);
  if (n > 0) std::memcpy(buf, s->data + s->pos, n);
  s->pos += n;
  *size = n;
  return SZ_OK;
}

SRes MemorySeek(ISeekInStreamPtr p, Int64* pos, ESzSeek origin) {
  MemoryStream* s = StreamOf(p);
  Int64 base = 0;
  if (origin == SZ_SEEK_CUR) base = static_cast<Int64>(s->pos);
  if (origin == SZ_SEEK_END) base = static_cast<Int64>(s->size);
  const Int64 target = base + *pos;
  if (target < 0 || target > static_cast<Int64>(s->size)) return SZ_ERROR_PARAM;
  s->pos = static_cast<size_t>(target);
  *pos = target;
  return SZ_OK;
}

// Frees the SDK's archive database and its solid-block cache on every path.
class OpenedDatabase {
 public:
  OpenedDatabase() { SzArEx_Init(&db); }
  ~OpenedDatabase() {
    ISzAlloc_Free(&kAllocMain, block);
    SzArEx_Free(&db, &kAllocMain);
  }
  OpenedDatabase(const OpenedDatabase&) = delete;
  OpenedDatabase& operator=(const OpenedDatabase&) = delete;

  CSzArEx db;
  Byte* block = nullptr;
  size_t blockSize = 0;
  UInt32 blockIndex = 0xFFFFFFFF;
};

std::wstring EntryName(const CSzArEx& db, UInt32 index) {
  const size_t length = SzArEx_GetFileNameUtf16(&db, index, nullptr);
  std::vector<UInt16> utf16(length + 1, 0);
  SzArEx_GetFileNameUtf16(&db, index, utf16.data());
  std::wstring name;
  for (size_t i = 0; i < utf16.size() && utf16[i] != 0; ++i) {
    const uint32_t c = utf16[i];
    // Surrogate pairs stay pairs under Windows; natively they are joined.
    if (sizeof(wchar_t) == 4 && c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() &&
        utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
      name.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00)));
      ++i;
    } else {
      name.push_back(static_cast<wchar_t>(c));
    }
  }
  std::replace(name.begin(), name.end(), L'\\', L'/');
  return name;
}

void SetError(std::wstring* error, const wchar_t* text) {
  if (error) *error = text;
}

}  // namespace

std::unique_ptr<SevenZipArchive> SevenZipArchive::OpenMemory(const uint8_t* data, size_t size,
                                                             std::wstring* error) {
  static std::once_flag crcTable;
  std::call_once(crcTable, [] { CrcGenerateTable(); });

  MemoryStream stream{{MemoryRead, MemorySeek}, data, data ? size : 0, 0};
  std::vector<Byte> lookBuffer(1 << 14);
  CLookToRead2 look;
  LookToRead2_CreateVTable(&look, False);
  look.buf = lookBuffer.data();
  look.bufSize = lookBuffer.size();
  look.realStream = &stream.vt;
  LookToRead2_INIT(&look);

  OpenedDatabase opened;
  if (SzArEx_Open(&opened.db, &look.vt, &kAllocMain, &kAllocTemp) != SZ_OK) {
    SetError(error, L"not a 7z archive");
    return nullptr;
  }

  // Without the names property the SDK keeps no name offsets, and its name
  // lookup would read through a null pointer; such an archive is no skin.
  if (opened.db.NumFiles > 0 && opened.db.FileNameOffsets == nullptr) {
    SetError(error, L"the 7z archive names no files");
    return nullptr;
  }
  auto archive = std::unique_ptr<SevenZipArchive>(new SevenZipArchive());
  for (UInt32 i = 0; i < opened.db.NumFiles; ++i) {
    if (SzArEx_IsDir(&opened.db, i)) continue;
    size_t offset = 0;
    size_t processed = 0;
    // Entries of one solid block share the cached block, so it is decoded once.
    if (SzArEx_Extract(&opened.db, &look.vt, i, &opened.blockIndex, &opened.block,
                       &opened.blockSize, &offset, &processed, &kAllocMain,
                       &kAllocTemp) != SZ_OK) {
      SetError(error, L"damaged 7z archive");
      return nullptr;
    }
    ArchiveEntry entry;
    entry.name = EntryName(opened.db, i);
    entry.index = i;
    if (processed > 0) entry.data.assign(opened.block + offset, opened.block + offset + processed);
    archive->entries_.push_back(std::move(entry));
  }
  return archive;
}

std::unique_ptr<SevenZipArchive> SevenZipArchive::OpenFile(const std::wstring& path,
                                                           std::wstring* error) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  if (!file) {
    SetError(error, L"cannot open the archive file");
    return nullptr;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  return OpenMemory(bytes.data(), bytes.size(), error);
}

}  // namespace SkinKit
