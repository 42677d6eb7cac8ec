#include "generator/windows_api.h"

#include "generator/windows_text.h"
#include "support/system_files.h"

#include <utility>

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

std::string MakeFileThatFailsWhileRead(const std::string&) {
  return "no file here that fails while read";
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

namespace {

// The system's own environment, which its temporary folder comes from.
std::optional<std::string> Variable(const std::string& name) {
  const std::wstring wide_name = WideText(name);
  const DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(wide_name.c_str(), value.data(), size));
  return Utf8Text(value);
}

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  SetEnvironmentVariableW(WideText(name).c_str(), value ? WideText(*value).c_str() : nullptr);
}

}  // namespace

ScopedVariable::ScopedVariable(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)), saved_(Variable(name_)) {
  SetVariable(name_, value);
}

ScopedVariable::~ScopedVariable() {
  SetVariable(name_, saved_);
}

// The system's temporary folder is the first of TMP, TEMP and the user's
// profile folder that is set.
TemporaryFolderOverride::TemporaryFolderOverride(const std::string& folder) {
  for (const char* name : {"TMP", "TEMP"}) variables_.emplace_back(name, folder);
}

}  // namespace qv::testing
