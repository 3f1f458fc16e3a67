#include "msi/core/InstallerRun.h"

namespace qlx::msi {

namespace {

constexpr std::string_view kProgramName = "QLX957_Installer.exe";

// `path` up to and with its last backslash; empty when it has none. (No
// substr: the DLL links no library that could report a bad position.)
std::string_view folderOf(std::string_view path) {
  const std::size_t last = path.rfind('\\');
  return last == std::string_view::npos ? std::string_view()
                                        : std::string_view(path.data(), last + 1);
}

// Quoted as a whole, the way the program's command line reads a value with
// blanks: "/log:C:\Program Files\x.log".
void appendQuoted(CommandText& line, std::string_view prefix, std::string_view text) {
  line.append("\"");
  line.append(prefix);
  line.append(text);
  line.append("\"");
}

}  // namespace

bool splitActionData(std::string_view data, PackageProperties& properties) {
  std::string_view fields[3];
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t bar = data.find('|');
    if ((bar == std::string_view::npos) != (i == 2)) return false;
    fields[i] = std::string_view(data.data(), bar == std::string_view::npos ? data.size() : bar);
    data.remove_prefix(bar == std::string_view::npos ? data.size() : bar + 1);
  }
  properties = {fields[0], fields[1], fields[2]};
  return !properties.installDir.empty();
}

OutputFolders outputFolders(const PackageProperties& properties) {
  OutputFolders result;
  for (std::string_view folder : {folderOf(properties.msiLog), properties.tempFolder}) {
    const bool again = result.count == 1 && result.folders[0] == folder;
    if (!folder.empty() && !again) result.folders[result.count++] = folder;
  }
  return result;
}

bool pathIn(std::string_view folder, std::string_view name, PathText& path) {
  path.clear();
  if (folder.empty()) return false;
  path.append(folder);
  if (folder.back() != '\\') path.append("\\");
  path.append(name);
  return path.complete();
}

bool describeRun(Stage stage, std::string_view installDir, std::string_view log,
                 InstallerRun& run) {
  run.commandLine.clear();
  if (!pathIn(installDir, kProgramName, run.program)) return false;
  appendQuoted(run.commandLine, "", run.program.view());
  // /once: the package makes the driver complete and current, and adds a
  // printer only where the driver has none, whether it installs, upgrades
  // or repairs.
  run.commandLine.append(stage == Stage::Install ? " /quiet /norestart /once"
                                                 : " /uninstall /quiet");
  if (!log.empty()) {
    run.commandLine.append(" ");
    appendQuoted(run.commandLine, "/log:", log);
  }
  return run.commandLine.complete();
}

}  // namespace qlx::msi
