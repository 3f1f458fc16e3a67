#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FakePlatform.h"

namespace qlx::fake::detail {

// EnumPrinterDriversA's layout at level 3 (DriverInfo3) or 4 (DriverInfo4):
// the array of records, then all their strings, the pointers pointing into
// the same buffer. Absent fields are null pointers.
std::size_t driverLayoutSize(const std::vector<const DriverRecord*>& drivers, Dword level);
void layOutDrivers(const std::vector<const DriverRecord*>& drivers, Dword level,
                   std::uint8_t* buffer);

}  // namespace qlx::fake::detail
