#include "package/PublisherGate.h"

Admission Refused(std::wstring reason) {
  Admission admission;
  admission.refusal = std::move(reason);
  return admission;
}
