#pragma once
// Text forms of the enumerations; a value outside its table throws ZkException.

#include <string>

#include "tracker/ZkTypes.h"

namespace zorvik::tracking {

std::string toString(ZkResult value);
std::string toString(ZkEdition value);
std::string toString(ClickType value);
std::string toString(ZkIoType value);
std::string toString(ZkCurrency value);
std::string toString(ZkPaidPlatform value);
std::string toString(ZkIapType value);
std::string toString(ZkUpdateOp value);
std::string toString(ZkUpdateResult value);
std::string userType(ZkUserType value);

}  // namespace zorvik::tracking
