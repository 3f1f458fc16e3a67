#include "engine/ModelNames.h"

namespace qlx {

ModelNames configureModel(std::string_view model, char letter, bool withPrintProcessor,
                          bool windows9x) {
  const std::string number(model);
  const std::string library = number + ".DLL";
  ModelNames names;
  names.hasPrintProcessor = withPrintProcessor;
  names.monitorFile = "QLMON" + library;
  names.monitorName = "DALVERA Language Monitor QLX" + number;
  if (withPrintProcessor) {
    names.processorFile = "QLPRO" + library;
    names.processorName = "DALVERA PRINT PROCESSOR QLX" + number;
  }
  names.printerName = "DALVERA QLX-" + number;
  names.driverFile = "QLX" + number + letter + (windows9x ? ".DRV" : ".DLL");
  names.uiFile = "QLUI" + library;
  return names;
}

std::string ModelNames::numberedPrinterName(int number) const {
  return printerName + "(#" + std::to_string(number) + ")";
}

}  // namespace qlx
