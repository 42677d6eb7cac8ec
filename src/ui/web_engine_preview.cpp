#include "ui/web_engine_preview.h"

#include <QStackedLayout>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace qv {
namespace {

// What the page's scripts tell the preview through the console.
const QString kWordPrefix = QStringLiteral("\x01vorlindo-preview:");
const QString kReadWord = QStringLiteral("read");
const QString kDrawnWord = QStringLiteral("drawn:");

// Longest wait for a loaded page to report that it has been drawn (a hidden
// window draws nothing, a page may break the script).
constexpr int kPaintTimeoutMs = 3000;

class PreviewPage : public QWebEnginePage {
  Q_OBJECT

 public:
  explicit PreviewPage(QObject* parent) : QWebEnginePage(parent) {
    // The document's end has been parsed, so its file has been read whole.
    QWebEngineScript read;
    read.setName(QStringLiteral("vorlindo-read"));
    read.setInjectionPoint(QWebEngineScript::DocumentReady);
    read.setWorldId(QWebEngineScript::MainWorld);
    read.setSourceCode(QStringLiteral("console.log('%1%2');").arg(kWordPrefix, kReadWord));
    scripts().insert(read);
  }

 signals:
  void Signalled(const QString& word);

 protected:
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int line, const QString& source) override {
    if (message.startsWith(kWordPrefix)) {
      emit Signalled(message.mid(kWordPrefix.size()));
      return;
    }
    QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
  }
};

}  // namespace

WebEnginePreview::WebEnginePreview(QWidget* parent) : PagePreview(parent) {
  stack_ = new QStackedLayout(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  // Both views stay visible, so the one underneath lays out and draws at the
  // size it will be shown at.
  stack_->setStackingMode(QStackedLayout::StackAll);
  for (QWebEngineView*& view : views_) {
    view = new QWebEngineView(this);
    auto* page = new PreviewPage(view);
    view->setPage(page);
    stack_->addWidget(view);
    // A page whose script never ran (a failed load) counts as read once loaded.
    connect(view, &QWebEngineView::loadFinished, this, [this, view](bool ok) {
      if (view == back()) BackRead(ok);
    });
    connect(page, &PreviewPage::Signalled, this, [this, view](const QString& word) {
      if (view == back()) BackSignalled(word);
    });
  }
  stack_->setCurrentWidget(views_[front_]);
  paint_timeout_.setSingleShot(true);
  paint_timeout_.setInterval(kPaintTimeoutMs);
  connect(&paint_timeout_, &QTimer::timeout, this, [this] { BringBackToFront(); });
}

void WebEnginePreview::Navigate(const QString& page_path) {
  if (!loading_) {
    StartLoad(page_path);
    return;
  }
  // The file has just been written again: a load that had not read it whole
  // yet may hold a cut-off page.
  if (!read_) stale_ = true;
  waiting_ = page_path;
}

void WebEnginePreview::StartLoad(const QString& page_path) {
  loading_ = true;
  read_ = false;
  stale_ = false;
  ok_ = false;
  ++load_number_;
  waiting_.clear();
  // Loading the address on show again reads the file afresh.
  back()->load(QUrl::fromLocalFile(page_path));
  emit LoadStarted();
}

void WebEnginePreview::BackRead(bool ok) {
  if (!loading_ || read_) return;
  read_ = true;
  ok_ = ok;
  emit PageRead();
  if (stale_) {
    LoadNextOrRest();
    return;
  }
  if (!anything_shown_ || !isVisible()) {
    BringBackToFront();
    return;
  }
  // Scroll to where the user was, then wait for two frames: the first frame
  // callback runs before the page is drawn, the second after it.
  const QPointF scrolled = views_[front_]->page()->scrollPosition();
  back()->page()->runJavaScript(
      QStringLiteral("window.scrollTo(%1, %2);"
                     "requestAnimationFrame(() => requestAnimationFrame(() =>"
                     " console.log('%3%4%5')));")
          .arg(scrolled.x())
          .arg(scrolled.y())
          .arg(kWordPrefix, kDrawnWord)
          .arg(load_number_));
  paint_timeout_.start();
}

void WebEnginePreview::BackSignalled(const QString& word) {
  if (!loading_) return;
  if (word == kReadWord) {
    BackRead(true);
  } else if (word == kDrawnWord + QString::number(load_number_) && paint_timeout_.isActive()) {
    BringBackToFront();
  }
}

void WebEnginePreview::BringBackToFront() {
  paint_timeout_.stop();
  front_ = 1 - front_;
  stack_->setCurrentWidget(views_[front_]);
  anything_shown_ = true;
  emit PageShown(ok_);
  LoadNextOrRest();
}

void WebEnginePreview::LoadNextOrRest() {
  loading_ = false;
  if (!waiting_.isEmpty()) StartLoad(waiting_);
}

}  // namespace qv

#include "web_engine_preview.moc"
