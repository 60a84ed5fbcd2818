#pragma once
// The one field of an X.509 certificate that publisher pins are taken over:
// its SubjectPublicKeyInfo, found by a strict walk over the DER encoding.

#include <cstddef>
#include <cstdint>
#include <optional>

struct DerSpan {
  size_t offset = 0;
  size_t size = 0;
};

// The whole SubjectPublicKeyInfo element (tag and length included) inside
// `der`; nothing when `der` is not exactly one well-formed certificate up to
// that field. Only definite, minimal lengths are taken, as DER demands, so no
// two readings of the same bytes can differ.
std::optional<DerSpan> SubjectPublicKeyInfoOf(const uint8_t* der, size_t size);
