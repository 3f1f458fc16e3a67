#include "engine/PrinterInstaller.h"

namespace qlx {

PrinterInstaller::PrinterInstaller(Platform& platform) : platform_(platform) {}

PrinterInstaller::~PrinterInstaller() = default;

// Appends to the prefixes the constructor set, so it runs once on a fresh engine.
void PrinterInstaller::configureModel(const std::string& model, char letter,
                                      bool withPrintProcessor) {
  hasPrintProcessor = withPrintProcessor;

  const std::string library = model + ".DLL";
  monitorFile += library;
  uiFile += library;
  if (hasPrintProcessor) processorFile += library;

  std::string driver = model;
  driver += letter;
  driver += isWindows9x(detectOsKind()) ? ".DRV" : ".DLL";
  driverFile += driver;

  monitorName += model;
  printerName += model;
  if (hasPrintProcessor) processorName += model;
}

// Cut at seven bytes, not at the dot, whatever the model's length.
std::string PrinterInstaller::iniFileName() const { return uiFile.substr(0, 7) + ".INI"; }

std::string PrinterInstaller::gpdFileName() const { return driverFile.substr(0, 7) + ".GPD"; }

std::string PrinterInstaller::numberedPrinterName(int number) const {
  return printerName + "(#" + std::to_string(number) + ")";
}

}  // namespace qlx
