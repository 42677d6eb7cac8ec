#include "control/failure_reason.h"

#include <array>

#include "settings/language.h"

namespace qv {
namespace {

constexpr std::size_t kKnownFailures = 6;

// In the order of SystemFailure, after kOther.
constexpr std::array<const char*, kKnownFailures> kDutchReasons = {
    "Het bestand of de map bestaat niet.",
    "U hebt geen toestemming voor dit bestand of deze map.",
    "De schijf is vol.",
    "De schijf of het bestand is alleen-lezen.",
    "Het bestand is te groot.",
    "Het bestand of de map is in gebruik."};
constexpr std::array<const char*, kKnownFailures> kEnglishReasons = {
    "The file or folder does not exist.",
    "You have no permission for this file or folder.",
    "The disk is full.",
    "The disk or the file is read-only.",
    "The file is too large.",
    "The file or folder is in use."};

}  // namespace

std::string ReasonInLanguage(const Status& status, std::int16_t language_code) {
  if (status.failure() == SystemFailure::kOther) return status.reason();
  const std::size_t index = static_cast<std::size_t>(status.failure()) - 1;
  const auto& reasons =
      LanguageOfCode(language_code) == Language::kDutch ? kDutchReasons : kEnglishReasons;
  return std::string(reasons[index]) + "\n(" + status.reason() + ")";
}

}  // namespace qv
