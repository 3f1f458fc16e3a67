#include "engine/RunRecord.h"

#include <cstdint>
#include <string>

#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"
#include "engine/Reporter.h"

namespace qlx {
namespace {

// A key of its own, directly under SOFTWARE: deleting it takes nothing of
// anybody else's.
constexpr char kKey[] = "SOFTWARE\\DALVERA_QLX-957";
constexpr char kValue[] = "Run";
constexpr char kInstallation[] = "installation";
constexpr char kRemoval[] = "removal";

}  // namespace

RunUnderWay runUnderWay(Platform& platform) {
  Registry& registry = platform.registry;
  HKey key = 0;
  if (registry.regOpenKeyEx(kHKeyLocalMachine, kKey, 0, kKeyRead, &key) != kRegSuccess) {
    return RunUnderWay::None;
  }
  char text[16] = {};
  Dword type = 0;
  Dword size = sizeof text - 1;
  const Long read =
      registry.regQueryValueEx(key, kValue, &type, reinterpret_cast<std::uint8_t*>(text), &size);
  registry.regCloseKey(key);
  // A record that cannot be read still says that a run was cut short.
  if (read != kRegSuccess || type != kRegSz) return RunUnderWay::Installation;
  return std::string(text) == kRemoval ? RunUnderWay::Removal : RunUnderWay::Installation;
}

bool recordRunUnderWay(Platform& platform, Reporter& reporter, RunUnderWay run) {
  Registry& registry = platform.registry;
  const std::string what = join({"Run record HKLM\\", kKey});
  HKey key = 0;
  Long result = registry.regCreateKey(kHKeyLocalMachine, kKey, &key);
  if (result == kRegSuccess) {
    const std::string text = run == RunUnderWay::Removal ? kRemoval : kInstallation;
    result = registry.regSetValueEx(key, kValue, 0, kRegSz,
                                    reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                    static_cast<Dword>(text.size() + 1));
    registry.regCloseKey(key);
    if (result == kRegSuccess) return true;
    clearRunUnderWay(platform, reporter);
  }
  reporter.failure(join({what, ": write"}), text::kCreateKeyError, static_cast<Dword>(result));
  return false;
}

void clearRunUnderWay(Platform& platform, Reporter& reporter) {
  Registry& registry = platform.registry;
  const Long result = registry.regDeleteKey(kHKeyLocalMachine, kKey);
  const std::string what = join({"Run record HKLM\\", kKey});
  if (result != kRegSuccess && static_cast<Dword>(result) != kErrorFileNotFound) {
    reporter.quietFailure(join({what, ": clear"}), static_cast<Dword>(result));
  }
}

}  // namespace qlx
