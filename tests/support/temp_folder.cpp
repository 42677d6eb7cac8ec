#include "temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "generator/file_system.h"
#include "generator/text_encoding.h"

namespace qv::testing {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() / ("vorlindo-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) path_ = PathText(candidate) + kPathSeparator;
  }
  if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code error;
  fs::remove_all(NativePath(path_), error);
}

std::string TempFolder::Path(std::string_view relative) const {
  return path_ + WithPlatformSeparators(relative);
}

void TempFolder::MakeFolder(std::string_view relative) const {
  fs::create_directories(NativePath(Path(relative)));
}

void TempFolder::WriteFile(std::string_view relative, std::string_view bytes) const {
  const fs::path file = NativePath(Path(relative));
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

std::string TempFolder::ReadFile(std::string_view relative) const {
  std::ifstream in(NativePath(Path(relative)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool TempFolder::Exists(std::string_view relative) const {
  std::error_code error;
  return fs::exists(fs::symlink_status(NativePath(Path(relative)), error));
}

std::vector<std::string> TempFolder::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(NativePath(path_))) {
    names.push_back(PathText(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string WithPlatformSeparators(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '/', kPathSeparator);
  return native;
}

std::map<std::string, std::string> TreeOf(const std::string& folder) {
  std::map<std::string, std::string> tree;
  const std::filesystem::path root = NativePath(folder);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    std::string what = "/";
    if (entry.is_symlink()) {
      what = "-> " + PathText(std::filesystem::read_symlink(entry.path()));
    } else if (!entry.is_directory()) {
      std::ifstream file(entry.path(), std::ios::binary);
      what.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::string relative = PathText(entry.path().lexically_relative(root));
    std::replace(relative.begin(), relative.end(), kPathSeparator, '/');
    tree[relative] = what;
  }
  return tree;
}

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace qv::testing
