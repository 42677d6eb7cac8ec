#include "ui/qt_favorites_watch.h"

#include <QMetaObject>

namespace qv {

QtFavoritesWatch::QtFavoritesWatch(QObject* parent) : QObject(parent) {
  Result<std::unique_ptr<BackgroundPageWatch>> watch = BackgroundPageWatch::Start([this] {
    // From the watch's thread to this object's; a call still queued when
    // this object goes is dropped.
    QMetaObject::invokeMethod(this, &QtFavoritesWatch::Changed, Qt::QueuedConnection);
  });
  if (watch.ok()) watch_ = std::move(*watch);
}

// The watch's thread ends before the object it signals goes.
QtFavoritesWatch::~QtFavoritesWatch() = default;

void QtFavoritesWatch::Follow(const PageSources& sources) {
  if (watch_ != nullptr) watch_->Follow(sources);
}

}  // namespace qv
