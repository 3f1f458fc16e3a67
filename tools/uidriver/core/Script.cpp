#include "core/Script.h"

#include <charconv>
#include <optional>

#include "core/Layout.h"

namespace uidriver {
namespace {

std::optional<long> toNumber(const std::string& text, long lowest, long highest) {
  long value = 0;
  const char* end = text.data() + text.size();
  auto [stop, problem] = std::from_chars(text.data(), end, value);
  if (text.empty() || problem != std::errc() || stop != end || value < lowest || value > highest)
    return std::nullopt;
  return value;
}

// next | escape | close | choose:N (os) | choose:P,O (port; either part may be empty)
std::string parseAnswer(const std::string& text, bool portDialog, DialogAnswer& answer) {
  if (text == "next")
    answer.action = DialogAction::Next;
  else if (text == "escape")
    answer.action = DialogAction::Escape;
  else if (text == "close")
    answer.action = DialogAction::Close;
  else if (text.rfind("choose:", 0) == 0) {
    answer.action = DialogAction::Choose;
    std::string rest = text.substr(7);
    std::string radio = rest, overwrite;
    if (auto comma = rest.find(','); comma != std::string::npos) {
      if (!portDialog) return "--os choose takes one index";
      radio = rest.substr(0, comma);
      overwrite = rest.substr(comma + 1);
    }
    const long radios = portDialog ? long(kPortRadioIds.size()) : long(kOsRadioIds.size());
    if (!radio.empty()) {
      auto value = toNumber(radio, 0, radios - 1);
      if (!value) return "radio index '" + radio + "' is not 0 to " + std::to_string(radios - 1);
      answer.radio = int(*value);
    }
    if (!overwrite.empty()) {
      auto value = toNumber(overwrite, 0, kOverwriteItems - 1);
      if (!value) return "overwrite index '" + overwrite + "' is not 0 to 3";
      answer.overwrite = int(*value);
    }
    if (answer.radio < 0 && answer.overwrite < 0) return "choose: names nothing to choose";
  } else {
    return "unknown answer '" + text + "'";
  }
  return {};
}

}  // namespace

ParsedScript parseScript(const std::vector<std::string>& arguments) {
  ParsedScript parsed;
  Script& script = parsed.script;
  for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--watch") {
      parsed.script.watchOnly = true;
      continue;
    }
    if (i + 1 >= arguments.size()) {
      parsed.error = option.rfind("--", 0) == 0 ? option + " needs a value"
                                                : "unexpected argument '" + option + "'";
      break;
    }
    const std::string& value = arguments[++i];
    std::string problem;
    if (option == "--log")
      script.logFile = value;
    else if (option == "--dir")
      script.directory = value;
    else if (option == "--installer")
      script.installer = value;
    else if (option == "--gate")
      script.gateFile = value;
    else if (option == "--end-at") {
      if (value.empty()) problem = "--end-at takes a status text";
      script.endAtStatus = value;
    } else if (option == "--delete-printer")
      script.deletePrinters.push_back(value);
    else if (option == "--volatile-key") {
      if (value.rfind("HKLM\\", 0) != 0 || value.size() == 5)
        problem = "--volatile-key takes HKLM\\SUBKEY";
      script.volatileKeys.push_back(value);
    } else if (option == "--arg")
      script.installerArguments.push_back(value);
    else if (option == "--os")
      problem = parseAnswer(value, false, script.os);
    else if (option == "--port")
      problem = parseAnswer(value, true, script.port);
    else if (option == "--restart") {
      if (value != "yes" && value != "no") problem = "--restart takes yes or no";
      script.restartYes = value == "yes";
    } else if (option == "--timeout" || option == "--hold") {
      auto number = toNumber(value, 0, 3600L * 1000);
      if (!number)
        problem = option + " takes a whole number";
      else if (option == "--timeout")
        script.timeoutMs = unsigned(*number) * 1000u;
      else
        script.holdMs = unsigned(*number);
    } else {
      problem = "unknown option '" + option + "'";
    }
    if (!problem.empty()) parsed.error = option + " " + value + ": " + problem;
  }
  if (parsed.error.empty() && script.logFile.empty()) parsed.error = "--log FILE is required";
  if (parsed.error.empty() && script.timeoutMs == 0) parsed.error = "--timeout must be at least 1";
  return parsed;
}

std::string usageText() {
  return "usage: uidriver.exe --log FILE [--dir PACKAGE_DIR] [--installer EXE]\n"
         "         [--os next|escape|close|choose:N] [--port next|escape|close|choose:P,O]\n"
         "         [--restart no|yes] [--watch] [--timeout SECONDS] [--hold MS] [--gate FILE]\n"
         "         [--end-at STATUS]\n"
         "         [--delete-printer NAME]... [--volatile-key HKLM\\SUBKEY]... [--arg TEXT]...\n"
         "Starts the installer in PACKAGE_DIR, records its windows as JSON lines in FILE\n"
         "and answers them: N is the OS radio index 0-6, P the port index 0-5 (COM1-COM4,\n"
         "LPT1, LPT2), O the overwrite item 0-3; either of P and O may be left empty.\n"
         "The restart question gets --restart, every other message box OK; with --watch\n"
         "nothing is answered (a user does it) and everything is still recorded; with\n"
         "--gate nothing is answered before FILE exists; with --end-at the installer is\n"
         "ended (TerminateProcess) when its progress window first shows STATUS.\n"
         "Before the start it deletes the named printers and creates the keys as volatile\n"
         "keys; each --arg is appended to the installer's command line, quoted if needed.\n"
         "Exit status: 0 script run, 2 usage, 3 no log or no installer, 4 timeout,\n"
         "5 an answer could not be given.\n";
}

bool isAbsolutePath(const std::string& path) {
  if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
      (path[1] == '\\' || path[1] == '/'))
    return true;  // \\server\share
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::string installerPath(const Script& script, const std::string& directory) {
  std::string name = script.installer.empty() ? "QLX957_Installer.exe" : script.installer;
  if (isAbsolutePath(name)) return name;
  if (directory.empty()) return name;
  char last = directory.back();
  return directory + (last == '\\' || last == '/' ? "" : "\\") + name;
}

namespace {

std::string quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: doubled there, then the quote escaped.
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

}  // namespace

std::string commandLine(const std::string& installer, const std::vector<std::string>& arguments) {
  std::string line = "\"" + installer + "\"";
  for (const std::string& argument : arguments) line += " " + quoted(argument);
  return line;
}

}  // namespace uidriver
