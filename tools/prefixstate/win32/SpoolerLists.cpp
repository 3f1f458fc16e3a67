// The monitors (MONITOR_INFO_2A) and, per environment, the print processors
// (PRINTPROCESSOR_INFO_1A) that the spooler lists.
#include "win32/Enumerate.h"
#include "win32/Sections.h"

namespace prefixstate {
namespace {

void writeProcessors(JsonWriter& json, const char* environment) {
  const Enumerated found =
      enumerate([environment](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return EnumPrintProcessorsA(nullptr, const_cast<char*>(environment), 1, buffer, size,
                                    needed, count);
      });
  json.beginObject();
  if (!found.ok) {
    writeFailure(json, "EnumPrintProcessorsA", found.error);
  } else {
    json.key("ok").flag(true).key("count").number(found.count).key("items").beginArray();
    for (DWORD i = 0; i < found.count; ++i) {
      const PRINTPROCESSOR_INFO_1A& processor = found.records<PRINTPROCESSOR_INFO_1A>()[i];
      json.beginObject().key("pName").text(processor.pName).endObject();
    }
    json.endArray();
  }
  json.endObject();
}

}  // namespace

void writeMonitors(JsonWriter& json) {
  const Enumerated found = enumerate([](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
    return EnumMonitorsA(nullptr, 2, buffer, size, needed, count);
  });
  json.beginObject();
  if (!found.ok) {
    writeFailure(json, "EnumMonitorsA", found.error);
  } else {
    json.key("ok").flag(true).key("count").number(found.count).key("items").beginArray();
    for (DWORD i = 0; i < found.count; ++i) {
      const MONITOR_INFO_2A& monitor = found.records<MONITOR_INFO_2A>()[i];
      json.beginObject()
          .key("pName")
          .text(monitor.pName)
          .key("pEnvironment")
          .text(monitor.pEnvironment)
          .key("pDLLName")
          .text(monitor.pDLLName)
          .endObject();
    }
    json.endArray();
  }
  json.endObject();
}

void writePrintProcessors(JsonWriter& json) {
  json.beginObject();
  for (const char* environment : kEnvironments) {
    json.key(environment);
    writeProcessors(json, environment);
  }
  json.endObject();
}

}  // namespace prefixstate
