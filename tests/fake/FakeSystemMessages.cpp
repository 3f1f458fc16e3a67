#include "FakeSystemMessages.h"

namespace qlx::fake::detail {

std::map<Dword, std::string> defaultSystemMessages() {
  const std::map<Dword, const char*> texts = {
      {0, "The operation completed successfully."},
      {2, "The system cannot find the file specified."},
      {3, "The system cannot find the path specified."},
      {5, "Access is denied."},
      {6, "The handle is invalid."},
      {8, "Not enough storage is available to process this command."},
      {32, "The process cannot access the file because it is being used by another process."},
      {80, "The file exists."},
      {87, "The parameter is incorrect."},
      {120, "This function is not supported on this system."},
      {122, "The data area passed to a system call is too small."},
      {124, "The system call level is not correct."},
      {126, "The specified module could not be found."},
      {158, "The segment is already unlocked."},
      {183, "Cannot create a file when that file already exists."},
      {112, "There is not enough space on the disk."},
      {123, "The filename, directory name, or volume label syntax is incorrect."},
      {127, "The specified procedure could not be found."},
      {145, "The directory is not empty."},
      {1003, "Cannot complete this function."},
      {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
      {1300, "Not all privileges or groups referenced are assigned to the caller."},
      {1313, "A specified privilege does not exist."},
      {1314, "A required privilege is not held by the client."},
      {1605, "This action is only valid for products that are currently installed."},
      {1722, "The RPC server is unavailable."},
      {1784, "The supplied user buffer is not valid for the requested operation."},
      {1796, "The specified port is unknown."},
      {1795, "The specified printer driver is already installed."},
      {1797, "The printer driver is unknown."},
      {1798, "The print processor is unknown."},
      {1801, "The printer name is invalid."},
      {1802, "The printer already exists."},
      {1805, "The environment specified is invalid."},
      {1813, "The specified resource type cannot be found in the image file."},
      {3000, "The specified print monitor is unknown."},
      {3001, "The specified printer driver is currently in use."},
      {3005, "The specified print processor has already been installed."},
      {3006, "The specified print monitor has already been installed."},
      {3008, "The specified print monitor is currently in use."},
  };
  std::map<Dword, std::string> messages;
  for (const auto& [code, text] : texts) messages.emplace(code, std::string(text) + "\r\n");
  return messages;
}

}  // namespace qlx::fake::detail
