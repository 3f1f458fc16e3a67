// The command line of prefixstate.exe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace prefixstate {

struct Options {
  std::string outFile;                    // --out FILE (required)
  std::vector<std::string> directories;   // --dir PATH, in the order given
  std::vector<std::uint32_t> errorCodes;  // --errtext CODE, in the order given
};

struct ParsedOptions {
  Options options;
  std::string error;  // empty when the command line was understood
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);

// A Windows error code: decimal, or hexadecimal after 0x; at most 32 bits.
std::optional<std::uint32_t> parseErrorCode(std::string_view text);

std::string usageText();

// Exit statuses.
constexpr int kWritten = 0;  // the report was written, whatever it holds
constexpr int kUsage = 2;
constexpr int kNotWritten = 3;  // the output file could not be written

}  // namespace prefixstate
