#include "package/PublisherGate.h"

namespace {

class NoSignatures : public PublisherGate {
 public:
  Admission Admit(const std::wstring&) const override {
    return Refused(L"no signature can be verified on this system");
  }
};

}  // namespace

std::unique_ptr<PublisherGate> CreatePublisherGate() { return std::make_unique<NoSignatures>(); }
