#pragma once

#include <string>
#include <string_view>

namespace qlx {

// Every name the installation gives a component, made once from the model
// number, its letter and whether it has a print processor; nothing changes
// them afterwards.
struct ModelNames {
  std::string monitorFile;    // "QLMON957.DLL"
  std::string monitorName;    // "DALVERA Language Monitor QLX957"
  std::string processorFile;  // "QLPRO957.DLL"; empty without a print processor
  std::string processorName;  // "DALVERA PRINT PROCESSOR QLX957"; empty without one
  std::string printerName;    // the driver's name, and the first printer's
  std::string driverFile;     // "QLX957E.DLL", on Windows 9x "QLX957E.DRV"
  std::string uiFile;         // "QLUI957.DLL"
  bool hasPrintProcessor = true;

  // Cut at seven bytes, not at the dot, whatever the model's length.
  std::string iniFileName() const { return uiFile.substr(0, 7) + ".INI"; }
  std::string gpdFileName() const { return driverFile.substr(0, 7) + ".GPD"; }
  // "DALVERA QLX-957(#2)"
  std::string numberedPrinterName(int number) const;
};

ModelNames configureModel(std::string_view model, char letter, bool withPrintProcessor,
                          bool windows9x);

// The one model this program installs.
inline ModelNames productNames(bool windows9x) {
  return configureModel("957", 'E', true, windows9x);
}

}  // namespace qlx
