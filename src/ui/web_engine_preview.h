// The preview as a browser view that, once it shows a page, never shows a
// half-drawn one (the first page shows as it loads).
//
// A new version of the page on show that differs from it only in attribute
// values and style sheets (a colour, the title size, a banner address) is
// changed in place: the view reads the new file whole, changes what differs
// and repaints, without building and laying the page out afresh. Any other
// page loads in a second view lying under the one on show; once its document
// has been read whole, it scrolls to where the user had scrolled, and only
// when it has been drawn does it come to the front. Pictures from the web
// (the banners) need not have arrived: they fill boxes of fixed size, so the
// page does not move when they come, and a slow server does not hold the
// preview back. Of a burst of pages, a load whose file was rewritten before
// it had been read whole is dropped, and only the newest waiting page loads
// next. A new colour the program knows of before it writes the page is
// painted at the next frame where the page on show is in view, and the new
// page confirms it, and paints the rest, once the colours have come to rest:
// while a slider moves, the view already shows each colour, and reading the
// page anew would only hold the engine back from painting the next.
#pragma once

#include <QElapsedTimer>
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
  ~WebEnginePreview() override;

  void Navigate(const QString& page_path) override;
  // Changes the page on show in place, when it is the page asked for last;
  // a page loading underneath meanwhile is of an older version, and is
  // dropped.
  bool AnticipateColour(const QString& old_code, const QString& new_code) override;

  // The view on show.
  QWebEngineView* view() const { return views_[front_]; }

 signals:
  // A new page has started loading, in place or under the one on show.
  void LoadStarted();
  // That page's file has been read whole (or its load has failed); it is
  // shown once drawn.
  void PageRead();

 private:
  enum class Loading { kNothing, kInPlace, kInSecondView };

  QWebEngineView* back() const { return views_[1 - front_]; }
  bool OnScreen() const;
  bool ColoursMoving() const;
  void StartWaiting();
  bool CanChangeInPlace(const QString& page_path) const;
  void StartLoad(QString page_path);
  void Begin(Loading loading);
  void StartInPlace();
  void StartInSecondView();
  void FrontSignalled(const QString& word);
  void BackRead(bool ok);
  void BackSignalled(const QString& word);
  void Read(bool ok);
  void AnswerOverdue();
  void BackDrawn();
  void BringBackToFront();
  void LoadDone();

  std::array<QWebEngineView*, 2> views_{};
  int front_ = 0;
  QStackedLayout* stack_ = nullptr;
  bool anything_shown_ = false;
  bool shown_ok_ = false;  // the page on show loaded without failing
  Loading loading_ = Loading::kNothing;
  QString page_path_;  // the page loading
  bool read_ = false;  // its file has been read whole
  // Its file was rewritten before it had been read, or the page on show has
  // since been given a newer colour.
  bool stale_ = false;
  bool ok_ = false;  // it loaded without failing
  int load_number_ = 0;
  QString waiting_;  // the newest page asked for during a load
  // Ends the wait for a page's word that it has been drawn (a hidden window
  // draws nothing, a page may break its scripts).
  QTimer answer_timeout_;
  QElapsedTimer since_anticipated_;  // since the last colour painted ahead
  QTimer colours_rest_;              // starts the waiting page once they rest
};

}  // namespace qv
