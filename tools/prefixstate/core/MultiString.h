// Multi-strings of the Windows structures: names each ended by a zero, the
// list ended by one more zero.
#pragma once

#include <string>
#include <vector>

namespace prefixstate {

// The names of the multi-string at `first`, never reading at or past `end`
// (the end of the buffer the spooler filled): an unterminated last name is
// cut at `end`.
std::vector<std::string> splitMultiString(const char* first, const char* end);

}  // namespace prefixstate
