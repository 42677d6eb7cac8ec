#include "generator/windows_api.h"

#include "generator/windows_text.h"
#include "support/system_files.h"

namespace qv::testing {

std::string WithoutPosixFiles() {
  return "needs fifos, symbolic links, extended attributes, file modes or a file size limit, "
         "which this system does not offer to an ordinary test";
}

bool MakeFifo(const std::string&) {
  return false;
}

bool MakeSymbolicLink(const std::string&, const std::string&) {
  return false;
}

bool SetExtendedAttribute(const std::string&, const char*, std::string_view) {
  return false;
}

unsigned FileMode(const std::string&) {
  return 0;
}

bool SetFileMode(const std::string&, unsigned) {
  return false;
}

unsigned SetCreationMask(unsigned) {
  return 0;
}

unsigned AnsiCodePage() {
  return GetACP();
}

bool MarkHiddenOrSystem(const std::string& path, bool hidden, bool system) {
  const std::wstring wide = WideText(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  const DWORD marks = (hidden ? FILE_ATTRIBUTE_HIDDEN : 0) | (system ? FILE_ATTRIBUTE_SYSTEM : 0);
  return SetFileAttributesW(wide.c_str(), attributes | marks) != 0;
}

FileSizeLimit::FileSizeLimit(std::uint64_t) {}

FileSizeLimit::~FileSizeLimit() = default;

}  // namespace qv::testing
