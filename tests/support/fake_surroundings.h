// Surroundings for a generation run under test: given program folders, a
// Favorites lookup that answers what the test tells it, and a fixed date.
#pragma once

#include <string>
#include <utility>

#include "run/surroundings.h"

namespace qv::testing {

class FakeFavoritesLookup : public FavoritesLookup {
 public:
  // From now on the lookup names `folder`.
  void Answer(std::string folder) { answer_ = std::move(folder); }
  Result<std::string> FavoritesFolder() override {
    ++questions_;
    return answer_;
  }
  int questions() const { return questions_; }

 private:
  Result<std::string> answer_ = Status::Error("the fake registry names no Favorites folder");
  int questions_ = 0;
};

class FakeSurroundings : public RunSurroundings {
 public:
  // A program beside its executable in `app_folder`.
  explicit FakeSurroundings(std::string app_folder)
      : folders_(BesideTheExecutable(std::move(app_folder))) {}
  explicit FakeSurroundings(ProgramFolders folders) : folders_(std::move(folders)) {}

  ProgramFolders Folders() override { return folders_; }
  FavoritesLookup& Favorites() override { return favorites_; }
  CalendarDate Today() override { return {2026, 12, 5}; }

  FakeFavoritesLookup& favorites() { return favorites_; }

 private:
  ProgramFolders folders_;
  FakeFavoritesLookup favorites_;
};

}  // namespace qv::testing
