// KERNEL32: global memory, the last error, system messages, time, the process.

#include "FakeErrors.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::handle;
using detail::arg::number;

constexpr Dword kFormatMessageAllocateBuffer = 0x100;
constexpr Dword kFormatMessageIgnoreInserts = 0x200;
constexpr Dword kFormatMessageFromSystem = 0x1000;
constexpr Dword kLanguageNeutral = 0;

}  // namespace

HGlobal FakePlatform::globalAlloc(Dword flags, std::size_t bytes) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GlobalAlloc", {number(flags), number(bytes)})) {
    s.fail(*error);
    return 0;
  }
  return s.memory.allocGlobal(flags, bytes);
}

void* FakePlatform::globalLock(HGlobal memory) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GlobalLock", {handle(memory)})) {
    s.fail(*error);
    return nullptr;
  }
  void* pointer = s.memory.lockGlobal(memory);
  if (pointer == nullptr) s.fail(kErrorInvalidHandle);
  return pointer;
}

bool FakePlatform::globalUnlock(HGlobal memory) {
  State& s = *state_;
  s.log.record("GlobalUnlock", {handle(memory)});
  switch (s.memory.unlockGlobal(memory)) {
    case detail::MemoryHeap::Unlock::StillLocked:
      return true;
    case detail::MemoryHeap::Unlock::Released:
      // FALSE with NO_ERROR is how the last unlock reports itself.
      return s.fail(kErrorSuccess);
    case detail::MemoryHeap::Unlock::NotLocked:
      return s.fail(kErrorNotLocked);
    case detail::MemoryHeap::Unlock::Invalid:
      break;
  }
  return s.fail(kErrorInvalidHandle);
}

HGlobal FakePlatform::globalHandle(const void* locked) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GlobalHandle", {buffer(locked)})) {
    s.fail(*error);
    return 0;
  }
  const HGlobal memory = s.memory.handleOf(locked);
  if (memory == 0) s.fail(kErrorInvalidHandle);
  return memory;
}

HGlobal FakePlatform::globalFree(HGlobal memory) {
  State& s = *state_;
  s.log.record("GlobalFree", {handle(memory)});
  if (memory == 0 || s.memory.freeGlobal(memory)) return 0;
  s.fail(kErrorInvalidHandle);
  return memory;
}

Dword FakePlatform::getLastError() {
  state_->log.record("GetLastError", {});
  return state_->lastError;
}

Dword FakePlatform::formatMessage(Dword flags, const void* source, Dword messageId,
                                  Dword languageId, char** text) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "FormatMessageA",
          {number(flags), buffer(source), number(messageId), number(languageId)})) {
    s.fail(*error);
    return 0;
  }
  // Only a system text into a buffer the system allocates is modelled.
  constexpr Dword kRequired = kFormatMessageAllocateBuffer | kFormatMessageFromSystem;
  if (text == nullptr || (flags & kRequired) != kRequired ||
      (flags & ~(kRequired | kFormatMessageIgnoreInserts)) != 0) {
    s.fail(kErrorInvalidParameter);
    return 0;
  }
  if (languageId != kLanguageEnglishUs && languageId != kLanguageNeutral) {
    s.fail(kErrorResourceLanguageNotFound);
    return 0;
  }
  const auto message = s.systemMessages.find(messageId);
  if (message == s.systemMessages.end()) {
    s.fail(kErrorMessageNotFound);
    return 0;
  }
  *text = s.memory.allocLocalText(message->second);
  return static_cast<Dword>(message->second.size());
}

void FakePlatform::localFree(void* memory) {
  State& s = *state_;
  s.log.record("LocalFree", {buffer(memory)});
  if (memory != nullptr && !s.memory.freeLocal(memory)) s.fail(kErrorInvalidHandle);
}

void FakePlatform::sleep(Dword milliseconds) {
  state_->log.record("Sleep", {number(milliseconds)});
  state_->clockMs += milliseconds;
}

Handle FakePlatform::getCurrentProcess() {
  state_->log.record("GetCurrentProcess", {});
  return kCurrentProcessPseudoHandle;
}

}  // namespace qlx::fake
