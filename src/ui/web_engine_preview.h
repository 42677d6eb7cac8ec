// The preview as a browser view that never shows a half-drawn page: each new
// page loads in a second view lying under the one on show; once its document
// has been read whole, it scrolls to where the user had scrolled, and only
// when it has been drawn does it come to the front. Pictures from the web
// (the banners) need not have arrived: they fill boxes of fixed size, so
// the page does not move when they come, and a slow server does not hold
// the preview back. Of a burst of pages, a load whose file was rewritten
// before it had been read whole is dropped, and only the newest waiting page
// loads next.
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
  // That page's document has been read whole (or its load has failed); it
  // comes to the front once drawn.
  void PageRead();

 private:
  QWebEngineView* back() const { return views_[1 - front_]; }
  void StartLoad(const QString& page_path);
  void BackRead(bool ok);
  void BackSignalled(const QString& word);
  void BringBackToFront();
  void LoadNextOrRest();

  std::array<QWebEngineView*, 2> views_{};
  int front_ = 0;
  QStackedLayout* stack_ = nullptr;
  bool anything_shown_ = false;
  bool loading_ = false;
  bool read_ = false;   // the loading page's document has been read whole
  bool stale_ = false;  // its file was rewritten before it had been read
  bool ok_ = false;
  int load_number_ = 0;
  QString waiting_;       // the newest page asked for during a load
  QTimer paint_timeout_;  // brings a loaded page forward that never reports its drawing
};

}  // namespace qv
