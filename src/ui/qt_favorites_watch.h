// The Favorites watch of the desktop program: a background watch whose
// settled changes reach the program's own thread as a signal.
#pragma once

#include <QObject>
#include <memory>

#include "control/favorites_watch.h"

namespace qv {

class QtFavoritesWatch : public QObject, public FavoritesWatch {
  Q_OBJECT

 public:
  // A system that gives no watcher leaves the program without one: the page
  // is then current after every save and refresh, as before.
  explicit QtFavoritesWatch(QObject* parent = nullptr);
  ~QtFavoritesWatch() override;

  void Follow(const PageSources& sources) override;

 signals:
  void Changed();

 private:
  std::unique_ptr<BackgroundPageWatch> watch_;
};

}  // namespace qv
