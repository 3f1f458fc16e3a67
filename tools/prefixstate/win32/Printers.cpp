// Every local printer with every PRINTER_INFO_2A field.
#include <cstring>

#include "win32/Enumerate.h"
#include "win32/Sections.h"

namespace prefixstate {
namespace {

void writeDevMode(JsonWriter& json, const DEVMODEA* mode) {
  if (!mode) {
    json.null();
    return;
  }
  const char* name = reinterpret_cast<const char*>(mode->dmDeviceName);
  json.beginObject()
      .key("dmDeviceName")
      .text(std::string_view(name, strnlen(name, CCHDEVICENAME)))
      .key("dmSpecVersion")
      .number(mode->dmSpecVersion)
      .key("dmDriverVersion")
      .number(mode->dmDriverVersion)
      .key("dmSize")
      .number(mode->dmSize)
      .key("dmDriverExtra")
      .number(mode->dmDriverExtra)
      .key("dmFields")
      .number(mode->dmFields)
      .endObject();
}

void writeSecurityDescriptor(JsonWriter& json, PSECURITY_DESCRIPTOR descriptor) {
  if (!descriptor) {
    json.null();
    return;
  }
  json.beginObject().key("length").number(GetSecurityDescriptorLength(descriptor)).endObject();
}

void writePrinter(JsonWriter& json, const PRINTER_INFO_2A& printer) {
  json.beginObject();
  json.key("pServerName").text(printer.pServerName);
  json.key("pPrinterName").text(printer.pPrinterName);
  json.key("pShareName").text(printer.pShareName);
  json.key("pPortName").text(printer.pPortName);
  json.key("pDriverName").text(printer.pDriverName);
  json.key("pComment").text(printer.pComment);
  json.key("pLocation").text(printer.pLocation);
  json.key("pDevMode");
  writeDevMode(json, printer.pDevMode);
  json.key("pSepFile").text(printer.pSepFile);
  json.key("pPrintProcessor").text(printer.pPrintProcessor);
  json.key("pDatatype").text(printer.pDatatype);
  json.key("pParameters").text(printer.pParameters);
  json.key("pSecurityDescriptor");
  writeSecurityDescriptor(json, printer.pSecurityDescriptor);
  json.key("Attributes").number(printer.Attributes);
  json.key("Priority").number(printer.Priority);
  json.key("DefaultPriority").number(printer.DefaultPriority);
  json.key("StartTime").number(printer.StartTime);
  json.key("UntilTime").number(printer.UntilTime);
  json.key("Status").number(printer.Status);
  json.key("cJobs").number(printer.cJobs);
  json.key("AveragePPM").number(printer.AveragePPM);
  json.key("storedStatus");
  writeStoredPrinterStatus(json, printer.pPrinterName);
  json.endObject();
}

}  // namespace

void writePrinters(JsonWriter& json) {
  const Enumerated found = enumerate([](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
    return EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer, size, needed, count);
  });
  json.beginObject();
  if (!found.ok) {
    writeFailure(json, "EnumPrintersA", found.error);
  } else {
    json.key("ok").flag(true).key("count").number(found.count).key("items").beginArray();
    for (DWORD i = 0; i < found.count; ++i) writePrinter(json, found.records<PRINTER_INFO_2A>()[i]);
    json.endArray();
  }
  json.endObject();
}

}  // namespace prefixstate
