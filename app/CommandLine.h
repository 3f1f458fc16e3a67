#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/InstallOptions.h"

namespace qlx {

// The arguments after the program name, split by the rules of the Windows
// runtime: blanks and tabs separate, double quotes group, 2n backslashes
// before a quote give n backslashes and a grouping quote, 2n+1 give n and a
// literal quote, other backslashes are literal, "" inside quotes is a quote.
// The program name itself is skipped by the program's one rule for it
// (runtime::programNameLength).
std::vector<std::string> splitCommandLine(std::string_view commandLine);

struct ParsedCommandLine {
  InstallOptions options;  // as far as it could be read, even after an error
  std::string error;       // empty when the command line is good
  bool ok() const { return error.empty(); }
};

// Options start with / or -, any case; a value follows : or =.
ParsedCommandLine parseArguments(const std::vector<std::string>& arguments);
ParsedCommandLine parseCommandLine(std::string_view commandLine);

// The text behind "/?" and every bad command line.
extern const char kUsageText[];

const char* portOptionName(int portIndex);              // "COM1" ... "LPT2"
const char* overwriteOptionName(OverwriteMode policy);  // "version" ... "never"

}  // namespace qlx
