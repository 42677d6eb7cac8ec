// Off Windows a file's bytes are its text and a path's bytes its name: nothing
// is converted.
#include <string>

#include "generator/text_encoding.h"

namespace qv {

bool HasAnsiCodePage() {
  return false;
}

std::string Utf8FromAnsi(std::string_view bytes) {
  return std::string(bytes);
}

std::filesystem::path NativePath(std::string_view path) {
  return std::filesystem::path(std::string(path));
}

std::string PathText(const std::filesystem::path& path) {
  return path.native();
}

}  // namespace qv
