#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FakePlatform.h"

// Copies of the records handed to the spooler, and the multi-string format.
namespace qlx::fake::detail {

std::optional<std::string> optionalText(const char* text);

// The bytes of a multi-string up to and including its terminating empty name.
std::string multiStringBytes(const char* names);
std::vector<std::string> multiStringNames(const char* names);

MonitorRecord toRecord(const MonitorInfo2& info);
DriverRecord toRecord(const DriverInfo3& info);
PrinterRecord toRecord(const PrinterInfo2& info);

// The record with every file named as a path in `directory`.
DriverRecord withFullPaths(DriverRecord driver, const std::string& directory);

}  // namespace qlx::fake::detail
