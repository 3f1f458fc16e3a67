#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FakePlatform.h"

namespace qlx::fake::detail {

// Spooler lists as the Enum calls lay them out. EnumPrinterDriversA's layout at level 3
// (DriverInfo3) or 4 (DriverInfo4): the array of records, then all their strings, the pointers
// pointing into the same buffer. Absent fields are null pointers.
std::size_t driverLayoutSize(const std::vector<const DriverRecord*>& drivers, Dword level);
void layOutDrivers(const std::vector<const DriverRecord*>& drivers, Dword level,
                   std::uint8_t* buffer);

// EnumPrintersA's layout at level 2 (PrinterInfo2), the fields the spooler keeps.
std::size_t printerLayoutSize(const std::vector<const PrinterEntry*>& printers);
void layOutPrinters(const std::vector<const PrinterEntry*>& printers, std::uint8_t* buffer);

// The level-1 lists of monitors, print processors and ports (NameInfo1).
std::size_t nameLayoutSize(const std::vector<std::string>& names);
void layOutNames(const std::vector<std::string>& names, std::uint8_t* buffer);

}  // namespace qlx::fake::detail
