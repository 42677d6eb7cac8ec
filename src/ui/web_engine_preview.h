// The preview as a browser view that never shows a half-drawn page: each new
// page loads in a second view lying under the one on show, scrolls to where
// the user had scrolled, and only once it has been drawn does it come to the
// front. Of a burst of pages, a load whose file was rewritten while it was
// still being read is dropped, and only the newest waiting page loads next.
#pragma once

#include <QPointF>
#include <QString>
#include <QTimer>
#include <array>

#include "ui/page_preview.h"

class QStackedLayout;
class QWebEngineView;

namespace qv {

class WebEnginePreview : public PagePreview {
  Q_OBJECT

 public:
  explicit WebEnginePreview(QWidget* parent = nullptr);

  void Navigate(const QString& page_path) override;

  // The view on show.
  QWebEngineView* view() const { return views_[front_]; }

 signals:
  // A new page has started loading under the one on show.
  void LoadStarted();
  // That page has loaded; it comes to the front once drawn.
  void LoadFinished(bool ok);

 private:
  QWebEngineView* back() const { return views_[1 - front_]; }
  void StartLoad(const QString& page_path);
  void BackLoaded(bool ok);
  void BackSignalled(const QString& word);
  void BringBackToFront();
  void LoadNextOrRest();

  std::array<QWebEngineView*, 2> views_{};
  int front_ = 0;
  QStackedLayout* stack_ = nullptr;
  bool anything_shown_ = false;
  bool loading_ = false;
  bool read_ = false;   // the loading page's file has been read whole
  bool stale_ = false;  // its file was rewritten before it had been read
  bool ok_ = false;
  int load_number_ = 0;
  QString waiting_;       // the newest page asked for during a load
  QTimer paint_timeout_;  // brings a loaded page forward that never reports its drawing
};

}  // namespace qv
