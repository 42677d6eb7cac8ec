// Surroundings for a generation run under test: a given program folder, a
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
  explicit FakeSurroundings(std::string app_folder) : app_folder_(std::move(app_folder)) {}

  std::string AppFolder() override { return app_folder_; }
  FavoritesLookup& Favorites() override { return favorites_; }
  CalendarDate Today() override { return {2026, 12, 5}; }

  FakeFavoritesLookup& favorites() { return favorites_; }

 private:
  std::string app_folder_;
  FakeFavoritesLookup favorites_;
};

}  // namespace qv::testing
