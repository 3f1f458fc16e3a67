#pragma once

#include <map>
#include <string>

#include "platform/Types.h"

namespace qlx::fake::detail {

// The English (0x409) system texts FormatMessage finds for the codes the
// installer meets, each ending in "\r\n" as Windows writes them.
std::map<Dword, std::string> defaultSystemMessages();

}  // namespace qlx::fake::detail
