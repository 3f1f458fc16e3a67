#include "app/CommandLine.h"

#include <cstddef>

#include "engine/InstallLog.h"
#include "engine/Names.h"
#include "runtime/CommandTail.h"

namespace qlx {
namespace {

constexpr const char* kPortNames[] = {"COM1", "COM2", "COM3", "COM4", "LPT1", "LPT2"};
constexpr const char* kOverwriteNames[] = {"version", "date", "always", "never"};
constexpr int kPortCount = 6;
constexpr int kOverwriteCount = 4;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

template <std::size_t N>
int indexIn(const char* const (&names)[N], std::string_view value) {
  for (std::size_t i = 0; i < N; ++i) {
    if (sameName(names[i], value)) return static_cast<int>(i);
  }
  return -1;
}

// The option a command-line word names, and its value.
struct Word {
  std::string name;  // lower case, without the prefix
  std::string value;
  bool hasValue = false;
};

class Parser {
 public:
  ParsedCommandLine run(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
      take(argument);
    }
    checkTogether();
    return std::move(result_);
  }

 private:
  // Only the first problem is reported; the rest is still read, so that a
  // bad command line under /quiet with /log still finds its log.
  void fail(std::string reason) {
    if (result_.error.empty()) result_.error = std::move(reason);
  }
  // `reason` follows the quoted argument.
  void refuse(const std::string& argument, const char* reason) {
    if (result_.error.empty()) result_.error = join({"\"", argument, reason});
  }

  void take(const std::string& argument) {
    if (argument.empty() || (argument[0] != '/' && argument[0] != '-')) {
      refuse(argument, "\" is not an option: options start with / or -.");
      return;
    }
    Word word;
    const std::size_t separator = argument.find_first_of(":=", 1);
    const std::string_view name = std::string_view(argument).substr(
        1, separator == std::string::npos ? std::string::npos : separator - 1);
    // Letters compare without case, by ASCII only: the system's code page
    // must not change what an option means.
    word.name = lowerAscii(name);
    if (separator != std::string::npos) {
      word.hasValue = true;
      word.value = argument.substr(separator + 1);
    }
    apply(argument, word);
  }

  bool once(const std::string& argument, bool& seen) {
    if (seen) {
      refuse(argument, "\": this option is given more than once.");
      return false;
    }
    seen = true;
    return true;
  }

  bool noValue(const std::string& argument, const Word& word) {
    if (!word.hasValue) return true;
    refuse(argument, "\": this option takes no value.");
    return false;
  }

  bool needsValue(const std::string& argument, const Word& word) {
    if (word.hasValue && !word.value.empty()) return true;
    refuse(argument, "\": this option needs a value after : or =.");
    return false;
  }

  void apply(const std::string& argument, const Word& word) {
    InstallOptions& options = result_.options;
    if (word.name == "quiet" || word.name == "passive") {
      if (!noValue(argument, word)) return;
      const RunMode mode = word.name == "quiet" ? RunMode::Quiet : RunMode::Passive;
      if (options.mode != RunMode::Interactive && options.mode != mode) {
        fail("/quiet and /passive cannot be used together.");
        return;
      }
      if (once(argument, modeSeen_)) options.mode = mode;
    } else if (word.name == "norestart" || word.name == "forcerestart") {
      if (!noValue(argument, word)) return;
      const RestartChoice choice =
          word.name == "norestart" ? RestartChoice::Never : RestartChoice::Force;
      if (options.restart != RestartChoice::Ask && options.restart != choice) {
        fail("/norestart and /forcerestart cannot be used together.");
        return;
      }
      if (once(argument, restartSeen_)) options.restart = choice;
    } else if (word.name == "port") {
      if (!needsValue(argument, word)) return;
      if (!once(argument, portSeen_)) return;
      // "LPT1:" is the spooler's spelling of LPT1.
      std::string_view name = word.value;
      if (name.size() > 1 && name.back() == ':') name.remove_suffix(1);
      const int index = indexIn(kPortNames, name);
      if (index >= 0) {
        options.portIndex = index;
      } else {
        // Any other port must be one the spooler lists; that is known only later.
        options.otherPort = word.value;
        otherPortArgument_ = argument;
      }
    } else if (word.name == "overwrite") {
      if (!needsValue(argument, word)) return;
      const int index = indexIn(kOverwriteNames, word.value);
      if (index < 0) {
        refuse(argument, "\": the policy is one of version, date, always, never.");
        return;
      }
      if (once(argument, overwriteSeen_)) options.overwrite = index;
    } else if (word.name == "log") {
      if (!needsValue(argument, word)) return;
      if (once(argument, logSeen_)) options.logFile = word.value;
    } else if (word.name == "uninstall") {
      if (noValue(argument, word) && once(argument, uninstallSeen_)) options.uninstall = true;
    } else if (word.name == "once") {
      if (noValue(argument, word) && once(argument, onceSeen_)) options.once = true;
    } else if (word.name == "?") {
      if (noValue(argument, word)) options.usage = true;
    } else {
      refuse(argument, "\" is not a known option.");
    }
  }

  // What can only be judged once every option is known.
  void checkTogether() {
    const InstallOptions& options = result_.options;
    if (options.uninstall && (options.once || portSeen_ || overwriteSeen_)) {
      fail("/uninstall takes no /once, /port or /overwrite.");
    }
    if (!options.otherPort.empty() && !isUnattended(options)) {
      refuse(otherPortArgument_,
             "\": the port dialog offers COM1, COM2, COM3, COM4, LPT1 and LPT2; another port "
             "the spooler lists is taken with /quiet or /passive.");
    }
  }

  ParsedCommandLine result_;
  std::string otherPortArgument_;
  bool modeSeen_ = false, restartSeen_ = false, portSeen_ = false, overwriteSeen_ = false,
       logSeen_ = false, uninstallSeen_ = false, onceSeen_ = false;
};

}  // namespace

// Short lines: the message box wraps long ones where it likes.
const char kUsageText[] =
    "QLX957_Installer [/quiet | /passive] [/port:PORT]\n"
    "    [/overwrite:POLICY] [/norestart | /forcerestart]\n"
    "    [/once] [/log:FILE] [/?]\n"
    "QLX957_Installer /uninstall [/quiet | /passive]\n"
    "    [/norestart | /forcerestart] [/log:FILE]\n"
    "\n"
    "/quiet: no window, no questions, no messages\n"
    "/passive: the progress window only\n"
    "/port: COM1..COM4, LPT1 (default), LPT2; with\n"
    "    /quiet or /passive any port Windows lists\n"
    "/overwrite: version (default), date, always or\n"
    "    never (shared driver files, Windows 95/98/ME)\n"
    "/norestart: no restart\n"
    "/forcerestart: restart without asking\n"
    "/once: nothing when the driver is installed\n"
    "/uninstall: remove the driver and its printers\n"
    "/log: append a log of the run to FILE\n"
    "\n"
    "Options start with / or - and take their value\n"
    "after : or =.\n"
    "\n"
    "Exit codes with /quiet or /passive:\n"
    "0 printer added or removed, 3010 installed or\n"
    "removed (restart needed), 1641 restarting,\n"
    "1603 failed, 1605 nothing to remove,\n"
    "1618 another installation is running,\n"
    "1633 Windows version not supported,\n"
    "1622 log file not writable, 87 bad command line.";

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t i = runtime::programNameLength(line);
  for (;;) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::string argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !isBlank(line[i]))) {
      const char c = line[i];
      if (c == '\\') {
        std::size_t end = i;
        while (end < line.size() && line[end] == '\\') ++end;
        const std::size_t count = end - i;
        if (end < line.size() && line[end] == '"') {
          argument.append(count / 2, '\\');
          if (count % 2 == 1) {
            argument += '"';
            ++end;
          }
        } else {
          argument.append(count, '\\');
        }
        i = end;
      } else if (c == '"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          argument += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        argument += c;
        ++i;
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

ParsedCommandLine parseArguments(const std::vector<std::string>& arguments) {
  return Parser().run(arguments);
}

ParsedCommandLine parseCommandLine(std::string_view commandLine) {
  return parseArguments(splitCommandLine(commandLine));
}

const char* portOptionName(int portIndex) {
  return portIndex >= 0 && portIndex < kPortCount ? kPortNames[portIndex] : "?";
}

const char* overwriteOptionName(OverwriteMode policy) {
  return policy >= 0 && policy < kOverwriteCount ? kOverwriteNames[policy] : "?";
}

}  // namespace qlx
