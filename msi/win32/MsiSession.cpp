#include "msi/win32/MsiSession.h"

#include "msi/core/FormattedText.h"

namespace qlx::msi {

void MsiSession::log(std::string_view first, std::string_view second,
                     std::string_view third) const {
  // The whole line as the record's template, escaped: Wine formats a
  // field's text again, so "[22%]" in a field would vanish.
  BoundedText<2048> text;
  for (std::string_view part : {first, second, third}) {
    if (!appendLiteral(text, part)) break;
  }
  const MSIHANDLE record = MsiCreateRecord(0);
  if (record == 0) return;
  MsiRecordSetStringA(record, 0, text.c_str());
  MsiProcessMessage(install_, INSTALLMESSAGE_INFO, record);
  MsiCloseHandle(record);
}

bool MsiSession::requestRestart() const {
  return MsiSetMode(install_, MSIRUNMODE_REBOOTATEND, TRUE) == ERROR_SUCCESS;
}

}  // namespace qlx::msi
