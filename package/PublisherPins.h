#pragma once
// Publisher pins: the SHA-256 of a signer certificate's SubjectPublicKeyInfo,
// so a certificate renewed over the same key keeps its pin.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "utils/Sha256.h"

// A pin as the build setting writes it: 64 hex digits, or 44 base64
// characters (RFC 4648, with its padding). Nothing for any other text.
std::optional<Utils::Sha256Digest> ParsePin(const std::string& text);

// The pin of the certificate in `der`; nothing when it is no certificate.
std::optional<Utils::Sha256Digest> PinOfCertificate(const uint8_t* der, size_t size);

// Empty when the signer certificate in `der` carries a pinned key; otherwise
// why it is refused, for the diagnostic line.
std::wstring SignerRefusal(const uint8_t* der, size_t size, const std::vector<std::string>& pins);
