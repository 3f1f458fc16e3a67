// Construction, machine set-up and the queries tests make.

#include "FakePlatform.h"

#include <algorithm>

#include "FakePaths.h"
#include "FakeSpoolerRecords.h"
#include "FakeState.h"

namespace qlx::fake {

FakePlatform::FakePlatform()
    : state_(std::make_unique<State>()), platform_{*this, *this, *this, *this, *this, *this} {
  setWindowsDirectory("C:\\WINDOWS");
  setSystemDirectory("C:\\WINDOWS\\system32");
  setPrinterDriverDirectory("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86");
  setPrintProcessorDirectory("C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86");
  addDirectory(state_->currentDirectory);
}

FakePlatform::~FakePlatform() = default;

// ---- machine set-up

void FakePlatform::setVersion(Dword platformId, Dword major, Dword minor, Dword build) {
  state_->version = State::Version{platformId, major, minor, build};
}

void FakePlatform::setVersionQueryFails(int times) { state_->versionFailures = times; }

void FakePlatform::setWow64(std::optional<bool> wow64) { state_->wow64 = wow64; }

void FakePlatform::setAdministrator(bool administrator) { state_->administrator = administrator; }

void FakePlatform::setSystemDirectory(const std::string& path) {
  state_->systemDirectory = resolve(path);
  addDirectory(path);
}

void FakePlatform::setWindowsDirectory(const std::string& path) {
  state_->windowsDirectory = resolve(path);
  addDirectory(path);
}

void FakePlatform::setPrinterDriverDirectory(const std::string& path) {
  state_->driverDirectory = resolve(path);
  addDirectory(path);
}

void FakePlatform::setPrintProcessorDirectory(const std::string& path) {
  state_->processorDirectory = resolve(path);
  addDirectory(path);
}

void FakePlatform::useWindows9xLayout() {
  setVersion(kVerPlatformWin32Windows, 4, 10, 1998);
  // Windows 9x reports its system directory for both spooler directories.
  setSystemDirectory("C:\\WINDOWS\\SYSTEM");
  setPrinterDriverDirectory("C:\\WINDOWS\\SYSTEM");
  setPrintProcessorDirectory("C:\\WINDOWS\\SYSTEM");
}

void FakePlatform::addDirectory(const std::string& path) {
  state_->files.addDirectories(resolve(path));
}

void FakePlatform::addFile(const std::string& path, FakeFile file) {
  const std::string absolute = resolve(path);
  state_->files.addDirectories(detail::parentPath(absolute));
  state_->files.putFile(absolute, std::move(file));
}

bool FakePlatform::fileExists(const std::string& path) const {
  return state_->files.isFile(resolve(path));
}

bool FakePlatform::directoryExists(const std::string& path) const {
  return state_->files.isDirectory(resolve(path));
}

const FakeFile* FakePlatform::file(const std::string& path) const {
  const detail::FileSystem::Entry* entry = state_->files.find(resolve(path));
  return entry == nullptr || entry->directory ? nullptr : &entry->file;
}

std::vector<std::string> FakePlatform::filesIn(const std::string& directory) const {
  return state_->files.filesIn(resolve(directory));
}

std::string FakePlatform::resolve(const std::string& path) const { return state_->absolute(path); }

void FakePlatform::setLocalTime(const SystemTime& time) { state_->localTime = time; }

void FakePlatform::setShutdownPrivilegeHeld(bool held) {
  state_->shutdownHeld = held;
  if (!held) state_->shutdownEnabled = false;
}

void FakePlatform::setSystemMessage(Dword code, std::optional<std::string> text) {
  if (text) {
    state_->systemMessages[code] = std::move(*text);
  } else {
    state_->systemMessages.erase(code);
  }
}

void FakePlatform::setExitWindowsRefused(bool refused) { state_->exitRefused = refused; }

void FakePlatform::makeReadOnly(const std::string& path) {
  const std::string absolute = resolve(path);
  const detail::FileSystem::Entry* entry = state_->files.find(absolute);
  if (entry == nullptr || entry->directory) return;
  FakeFile file = entry->file;
  file.attributes |= kFileAttributeReadOnly;
  state_->files.putFile(absolute, std::move(file));
}

void FakePlatform::holdMutexElsewhere(const std::string& name) {
  state_->mutexesElsewhere.insert(name);
}

std::vector<std::string> FakePlatform::mutexesOpened() const { return state_->mutexesOpened; }

std::vector<std::string> FakePlatform::copiesMade() const {
  std::vector<std::string> copies;
  for (std::string call : callTexts("CopyFileA")) {
    const std::size_t suffix = call.find(".qlx-new, ");
    if (suffix != std::string::npos) call.erase(suffix, 8);
    copies.push_back(std::move(call));
  }
  return copies;
}

std::vector<std::string> FakePlatform::deletionsAtRestart() const {
  std::vector<std::string> paths;
  for (const auto& [from, to] : state_->pendingRenames()) {
    if (to.empty()) paths.push_back(from);
  }
  return paths;
}

void FakePlatform::afterCall(const std::string& name, int occurrence,
                             std::function<void()> action) {
  state_->afterHooks[{name, occurrence}] = std::move(action);
}

bool FakePlatform::shutdownPrivilegeEnabled() const { return state_->shutdownEnabled; }

// ---- spooler state

void FakePlatform::addInstalledDriver(const std::string& name, const std::string& environment) {
  DriverRecord driver;
  driver.cVersion = detail::equalsIgnoreCase(environment, kEnvironmentWindowsNt) ? 3 : 0;
  driver.name = name;
  driver.environment = environment;
  state_->spooler.installedDrivers.push_back(std::move(driver));
}

void FakePlatform::addInstalledDriver(const DriverInfo3& info) {
  DriverRecord driver = detail::toRecord(info);
  driver.cVersion = detail::equalsIgnoreCase(info.pEnvironment, kEnvironmentWindowsNt) ? 3 : 0;
  state_->spooler.installedDrivers.push_back(std::move(driver));
}

void FakePlatform::addInstalledPrinter(const std::string& name, const std::string& driver,
                                       const std::string& port, Dword queuedJobs,
                                       const std::string& processor) {
  state_->spooler.printers.push_back(PrinterEntry{name, driver, port, processor, queuedJobs});
}

void FakePlatform::addInstalledMonitor(const std::string& name, const std::string& dll) {
  state_->spooler.monitors.push_back(State::Monitor{name, dll});
  if (dll.empty()) return;
  FakeFile library{"monitor " + dll};
  library.loaded = true;
  addFile(detail::joinPath(state_->systemDirectory, dll), std::move(library));
}

void FakePlatform::addPort(const std::string& name) { state_->spooler.ports.push_back(name); }

std::vector<std::string> FakePlatform::installedDriverNames() const {
  std::vector<std::string> names;
  for (const DriverRecord& driver : state_->spooler.installedDrivers) names.push_back(*driver.name);
  return names;
}

std::vector<std::string> FakePlatform::installedPrinterNames() const {
  std::vector<std::string> names;
  for (const PrinterEntry& printer : state_->spooler.printers) names.push_back(printer.name);
  return names;
}

const std::vector<PrinterEntry>& FakePlatform::installedPrinters() const {
  return state_->spooler.printers;
}

std::vector<std::string> FakePlatform::installedMonitorNames() const {
  std::vector<std::string> names;
  for (const State::Monitor& monitor : state_->spooler.monitors) names.push_back(monitor.name);
  return names;
}

std::vector<std::string> FakePlatform::installedProcessorNames() const {
  std::vector<std::string> names;
  for (const State::Processor& processor : state_->spooler.processors) {
    if (state_->processorKnown(processor.name, state_->ownEnvironment())) {
      names.push_back(processor.name);
    }
  }
  return names;
}

const std::vector<MonitorRecord>& FakePlatform::monitors() const {
  return state_->spooler.monitorsAdded;
}
const std::vector<ProcessorRecord>& FakePlatform::processors() const {
  return state_->spooler.processorsAdded;
}
const std::vector<DriverRecord>& FakePlatform::drivers() const {
  return state_->spooler.driversAdded;
}
const std::vector<PrinterRecord>& FakePlatform::printers() const {
  return state_->spooler.printersAdded;
}
const std::vector<MonitorRecord>& FakePlatform::monitorCalls() const {
  return state_->spooler.monitorCalls;
}
const std::vector<ProcessorRecord>& FakePlatform::processorCalls() const {
  return state_->spooler.processorCalls;
}
const std::vector<DriverRecord>& FakePlatform::driverCalls() const {
  return state_->spooler.driverCalls;
}
const std::vector<PrinterRecord>& FakePlatform::printerCalls() const {
  return state_->spooler.printerCalls;
}

// ---- registry

void FakePlatform::addRegistryKey(const std::string& path,
                                  std::map<std::string, RegistryValue> values, bool withSubkey) {
  state_->registry.create(path);
  for (auto& [name, value] : values) state_->registry.setValue(path, name, std::move(value));
  if (withSubkey) state_->registry.create(detail::subKeyPath(path, "Subkey"));
}

bool FakePlatform::registryKeyExists(const std::string& path) const {
  return state_->registry.exists(path);
}

std::map<std::string, RegistryValue> FakePlatform::registryValues(const std::string& path) const {
  return state_->registry.values(path);
}

// ---- user's answers

void FakePlatform::queueMessageBoxAnswer(int answer) { state_->answers.push_back(answer); }

const std::vector<MessageBoxRecord>& FakePlatform::messageBoxes() const {
  return state_->messageBoxes;
}

void FakePlatform::scriptOsDialog(DialogResult result, std::optional<int> chosenOsIndex) {
  state_->osDialog = State::DialogScript{result, chosenOsIndex, std::nullopt};
}

void FakePlatform::scriptPortDialog(DialogResult result, std::optional<int> chosenPortIndex,
                                    std::optional<int> chosenOverwriteIndex) {
  state_->portDialog = State::DialogScript{result, chosenPortIndex, chosenOverwriteIndex};
}

int FakePlatform::osDialogRuns() const { return state_->osRuns; }
int FakePlatform::portDialogRuns() const { return state_->portRuns; }
int FakePlatform::osIndexShown() const { return state_->osIndexShown; }

// ---- progress window

int FakePlatform::barPosition() const { return state_->bar.position; }
const std::vector<Refresh>& FakePlatform::refreshes() const { return state_->refreshes; }

// ---- clock, calls, faults, leaks

std::uint64_t FakePlatform::clockMs() const { return state_->clockMs; }

const std::vector<Call>& FakePlatform::calls() const { return state_->log.calls(); }

std::vector<std::string> FakePlatform::callNames() const {
  std::vector<std::string> names;
  for (const Call& call : calls()) names.push_back(call.name);
  return names;
}

std::vector<std::string> FakePlatform::callTexts() const {
  std::vector<std::string> texts;
  for (const Call& call : calls()) texts.push_back(call.text());
  return texts;
}

std::vector<std::string> FakePlatform::callTexts(const std::string& name) const {
  std::vector<std::string> texts;
  for (const Call& call : calls()) {
    if (call.name == name) texts.push_back(call.text());
  }
  return texts;
}

void FakePlatform::clearCalls() { state_->log.clear(); }

void FakePlatform::failCall(const std::string& name, Dword error, int occurrence) {
  state_->log.failCall(name, error, occurrence);
}

void FakePlatform::failNthFailableCall(std::size_t index, Dword error) {
  state_->log.failNth(index, error);
}

void FakePlatform::clearFaults() { state_->log.clearFaults(); }

std::size_t FakePlatform::failableCallCount() const { return state_->log.failableCount(); }

int FakePlatform::openHandles() const { return state_->handles.count(); }
int FakePlatform::liveAllocations() const { return state_->memory.liveCount(); }
bool FakePlatform::restartRequested() const { return state_->restartRequested; }

}  // namespace qlx::fake
