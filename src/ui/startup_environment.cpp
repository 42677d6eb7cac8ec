#include "ui/startup_environment.h"

#include <array>

namespace qv {
namespace {

constexpr std::array<std::string_view, 3> kSoftwareRenderingFlags = {
    "--disable-gpu", "--disable-gpu-compositing", "--disable-dev-shm-usage"};

bool NamesFlag(std::string_view flags, std::string_view flag) {
  for (std::size_t at = flags.find(flag); at != std::string_view::npos;
       at = flags.find(flag, at + 1)) {
    const std::size_t end = at + flag.size();
    const bool starts_word = at == 0 || flags[at - 1] == ' ';
    const bool ends_word = end == flags.size() || flags[end] == ' ' || flags[end] == '=';
    if (starts_word && ends_word) return true;
  }
  return false;
}

}  // namespace

std::string WithSoftwareRendering(std::string_view user_flags) {
  std::string flags(user_flags);
  for (std::string_view flag : kSoftwareRenderingFlags) {
    if (NamesFlag(flags, flag)) continue;
    if (!flags.empty() && flags.back() != ' ') flags += ' ';
    flags += flag;
  }
  return flags;
}

}  // namespace qv
