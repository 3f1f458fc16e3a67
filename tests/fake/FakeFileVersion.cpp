// VERSION.dll: a version block of our own layout around the VsFixedFileInfo.

#include <algorithm>
#include <array>
#include <cstring>

#include "FakeErrors.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::number;
using detail::arg::text;

// Like a 16-bit VS_VERSIONINFO: wLength, wValueLength, the key, then the
// fixed information on a four-byte boundary.
constexpr char kBlockKey[] = "VS_VERSION_INFO";
constexpr std::size_t kKeyOffset = 4;
constexpr std::size_t kFixedInfoOffset = 20;
constexpr std::size_t kBlockSize = kFixedInfoOffset + sizeof(VsFixedFileInfo);
static_assert(kKeyOffset + sizeof kBlockKey <= kFixedInfoOffset);

// The resource compiler writes the signature and structure version whatever
// the file's numbers are.
std::array<std::uint8_t, kBlockSize> versionBlock(VsFixedFileInfo info) {
  info.dwSignature = kVsFixedFileInfoSignature;
  if (info.dwStrucVersion == 0) info.dwStrucVersion = 0x00010000;
  std::array<std::uint8_t, kBlockSize> block{};
  const auto length = static_cast<Word>(kBlockSize);
  const auto valueLength = static_cast<Word>(sizeof(VsFixedFileInfo));
  std::memcpy(block.data(), &length, sizeof length);
  std::memcpy(block.data() + 2, &valueLength, sizeof valueLength);
  std::memcpy(block.data() + kKeyOffset, kBlockKey, sizeof kBlockKey);
  std::memcpy(block.data() + kFixedInfoOffset, &info, sizeof info);
  return block;
}

bool isVersionBlock(const std::uint8_t* block) {
  Dword signature = 0;
  std::memcpy(&signature, block + kFixedInfoOffset, sizeof signature);
  return std::memcmp(block + kKeyOffset, kBlockKey, sizeof kBlockKey) == 0 &&
         signature == kVsFixedFileInfoSignature;
}

}  // namespace

Dword FakePlatform::getFileVersionInfoSize(const char* path, Dword* handle) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetFileVersionInfoSizeA", {text(path)})) {
    s.fail(*error);
    return 0;
  }
  if (handle != nullptr) *handle = 0;
  if (path == nullptr) {
    s.fail(kErrorInvalidParameter);
    return 0;
  }
  const std::string absolute = s.absolute(path);
  if (Dword error = s.files.readError(absolute, kFileShareRead)) {
    s.fail(error);
    return 0;
  }
  if (!s.files.find(absolute)->file.version) {
    s.fail(kErrorResourceTypeNotFound);
    return 0;
  }
  return static_cast<Dword>(kBlockSize);
}

bool FakePlatform::getFileVersionInfo(const char* path, Dword handle, Dword size, void* data) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetFileVersionInfoA",
                                        {text(path), number(handle), number(size), buffer(data)})) {
    return s.fail(*error);
  }
  if (path == nullptr || data == nullptr) return s.fail(kErrorInvalidParameter);
  const std::string absolute = s.absolute(path);
  if (Dword error = s.files.readError(absolute, kFileShareRead)) return s.fail(error);
  const std::optional<VsFixedFileInfo>& version = s.files.find(absolute)->file.version;
  if (!version) return s.fail(kErrorResourceTypeNotFound);
  const auto block = versionBlock(*version);
  std::memcpy(data, block.data(), std::min<std::size_t>(size, block.size()));
  return true;
}

bool FakePlatform::verQueryValue(const void* block, const char* subBlock, void** value,
                                 unsigned* length) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("VerQueryValueA", {buffer(block), text(subBlock)})) {
    return s.fail(*error);
  }
  if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr) {
    return s.fail(kErrorInvalidParameter);
  }
  const auto* bytes = static_cast<const std::uint8_t*>(block);
  if (std::strcmp(subBlock, "\\") != 0 || !isVersionBlock(bytes)) {
    return s.fail(kErrorResourceTypeNotFound);
  }
  *value = const_cast<std::uint8_t*>(bytes + kFixedInfoOffset);  // into the caller's block
  *length = static_cast<unsigned>(sizeof(VsFixedFileInfo));
  return true;
}

}  // namespace qlx::fake
