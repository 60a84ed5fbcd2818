#pragma once
// What stands in front of every program the installer starts: its publisher's
// signature, checked through a handle that keeps the file as it was checked
// until the program has started from it.

#include <memory>
#include <string>

#include "utils/File.h"

struct Admission {
  // Open while admitted: nobody can write, rename or delete the file until it
  // is closed, which the runner does once the process exists.
  Utils::File image;
  std::wstring refusal;  // why not, when refused
  bool Admitted() const { return image.IsOpen() && refusal.empty(); }
};

class PublisherGate {
 public:
  virtual ~PublisherGate() = default;
  // May take a moment (the signature is verified over the whole file); safe
  // to call from any thread.
  virtual Admission Admit(const std::wstring& path) const = 0;
};

// Windows: the file's Authenticode signature must verify and its signer's key
// must be one of the pinned publishers. Elsewhere no signature can be
// verified, so nothing is admitted.
std::unique_ptr<PublisherGate> CreatePublisherGate();

// A refusal: the file closed, the reason kept.
Admission Refused(std::wstring reason);
