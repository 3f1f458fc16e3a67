// The command line of uidriver.exe: where the installer is, where to log,
// and how to answer each dialog and message box.
#pragma once

#include <string>
#include <vector>

namespace uidriver {

enum class DialogAction { Next, Escape, Close, Choose };

struct DialogAnswer {
  DialogAction action = DialogAction::Next;
  int radio = -1;      // Choose: radio index to click, -1 to leave the radios
  int overwrite = -1;  // Choose on the port dialog: combo item, -1 to leave it
};

struct Script {
  std::string logFile;
  std::string directory;  // the installer's current directory; empty: ours
  std::string installer;  // empty: QLX957_Installer.exe in `directory`
  DialogAnswer os;
  DialogAnswer port;
  bool restartYes = false;
  bool watchOnly = false;  // record only: the user answers every window
  unsigned timeoutMs = 120000;
  unsigned holdMs = 0;  // pause before each answer, for screenshots
  // No answer until this file exists: another program runs meanwhile while
  // the installer waits at its first window.
  std::string gateFile;
  // The installer is ended, as a power cut would end it, when the progress
  // window first shows this status (its line end left out); empty: never.
  std::string endAtStatus;
  // Arranged before the start: printers to delete and HKLM keys to create as
  // volatile keys (each absent, or present and empty).
  std::vector<std::string> deletePrinters;
  std::vector<std::string> volatileKeys;
  std::vector<std::string> installerArguments;  // appended to its command line
};

struct ParsedScript {
  Script script;
  std::string error;  // empty when the command line was understood
};

ParsedScript parseScript(const std::vector<std::string>& arguments);
std::string usageText();

// The installer's path: `installer` as given when absolute, else inside the
// directory (default name QLX957_Installer.exe).
std::string installerPath(const Script& script, const std::string& directory);
bool isAbsolutePath(const std::string& path);

// The installer's command line: its quoted path, then each argument, quoted
// by the rules of CommandLineToArgvW when it holds a blank, a tab or a quote.
std::string commandLine(const std::string& installer, const std::vector<std::string>& arguments);

}  // namespace uidriver
