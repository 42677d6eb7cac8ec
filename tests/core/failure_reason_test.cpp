// The common failures of the system said in the window's language, with the
// system's words kept as a detail.
#include "control/failure_reason.h"

#include <gtest/gtest.h>

#include <set>

#include "generator/file_system.h"
#include "generator/open_folder.h"
#include "settings/language.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

TEST(FailureReasonTest, ASystemFailureIsSaidInTheWindowsLanguageWithTheSystemsWordsAfter) {
  testing::TempFolder folder;
  const Result<OpenFolder> opened = OpenFolder::Open(JoinPath(folder.path(), "missing"));
  ASSERT_FALSE(opened.ok());
  const Status& missing = opened.status();
  EXPECT_EQ(missing.failure(), SystemFailure::kNotFound);
  EXPECT_EQ(ReasonInLanguage(missing, kDutchLanguageCode),
            "Het bestand of de map bestaat niet.\n(" + missing.reason() + ")");
  EXPECT_EQ(ReasonInLanguage(missing, kEnglishLanguageCode),
            "The file or folder does not exist.\n(" + missing.reason() + ")");

  // A reason of the program's own stays as it is.
  const Status own = Status::Error("the page name holds a folder");
  EXPECT_EQ(ReasonInLanguage(own, kDutchLanguageCode), own.reason());
}

TEST(FailureReasonTest, EveryKnownFailureHasASentenceOfItsOwnInBothLanguages) {
  const SystemFailure known[] = {SystemFailure::kNotFound, SystemFailure::kNoPermission,
                                 SystemFailure::kNoSpace,  SystemFailure::kReadOnly,
                                 SystemFailure::kTooLarge, SystemFailure::kBusy};
  for (const std::int16_t code : {kDutchLanguageCode, kEnglishLanguageCode}) {
    std::set<std::string> sentences;
    for (const SystemFailure failure : known) {
      const std::string said = ReasonInLanguage(Status::SystemError("why", failure), code);
      EXPECT_TRUE(sentences.insert(said).second) << said;
      EXPECT_NE(said.find("\n(why)"), std::string::npos) << said;
    }
  }
}

}  // namespace
}  // namespace qv
