#include "msi/win32/MsiSession.h"

namespace qlx::msi {

void MsiSession::log(std::string_view first, std::string_view second,
                     std::string_view third) const {
  BoundedText<1024> text;
  for (std::string_view part : {first, second, third}) {
    const std::size_t room = text.capacity() - 1 - text.view().size();
    text.append(part.size() > room ? std::string_view(part.data(), room) : part);
  }
  const MSIHANDLE record = MsiCreateRecord(1);
  if (record == 0) return;
  // The line goes in as a field, so brackets in it are not read as properties.
  MsiRecordSetStringA(record, 0, "[1]");
  MsiRecordSetStringA(record, 1, text.c_str());
  MsiProcessMessage(install_, INSTALLMESSAGE_INFO, record);
  MsiCloseHandle(record);
}

bool MsiSession::requestRestart() const {
  return MsiSetMode(install_, MSIRUNMODE_REBOOTATEND, TRUE) == ERROR_SUCCESS;
}

}  // namespace qlx::msi
