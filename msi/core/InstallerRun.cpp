#include "msi/core/InstallerRun.h"

namespace qlx::msi {

namespace {

constexpr std::string_view kProgramName = "QLX957_Installer.exe";
constexpr std::string_view kLogName = "QLX957_Installer.log";

// `path` up to and with its last backslash; empty when it has none. (No
// substr: the DLL links no library that could report a bad position.)
std::string_view folderOf(std::string_view path) {
  const std::size_t last = path.rfind('\\');
  return last == std::string_view::npos ? std::string_view()
                                        : std::string_view(path.data(), last + 1);
}

bool appendInFolder(PathText& path, std::string_view folder, std::string_view name) {
  path.append(folder);
  if (!folder.empty() && folder.back() != '\\') path.append("\\");
  path.append(name);
  return path.complete();
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

bool describeRun(Stage stage, const PackageProperties& properties, InstallerRun& run) {
  for (PathText* path : {&run.program, &run.log, &run.restartMarker}) path->clear();
  run.commandLine.clear();
  const std::string_view logFolder =
      properties.msiLog.empty() ? properties.tempFolder : folderOf(properties.msiLog);
  if (properties.installDir.empty() || logFolder.empty()) return false;
  if (!appendInFolder(run.program, properties.installDir, kProgramName) ||
      !appendInFolder(run.log, logFolder, kLogName)) {
    return false;
  }
  run.restartMarker.append(run.log.view());
  run.restartMarker.append(".restart");

  appendQuoted(run.commandLine, "", run.program.view());
  run.commandLine.append(stage == Stage::Install ? " /quiet /norestart " : " /uninstall /quiet ");
  appendQuoted(run.commandLine, "/log:", run.log.view());
  return run.restartMarker.complete() && run.commandLine.complete();
}

}  // namespace qlx::msi
