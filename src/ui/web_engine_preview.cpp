#include "ui/web_engine_preview.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStackedLayout>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include "ui/accessible_controls.h"

namespace qv {
namespace {

// What the page's scripts tell the preview through the console.
const QString kWordPrefix = QStringLiteral("\x01vorlindo-preview:");
const QString kReadWord = QStringLiteral("read");
const QString kReadInPlaceWord = QStringLiteral("read:");
const QString kDrawnWord = QStringLiteral("drawn:");
const QString kReloadWord = QStringLiteral("reload:");

// Longest wait for a page to report that it has been drawn.
constexpr int kAnswerTimeoutMs = 3000;

// `text` as a JavaScript string literal.
QString JavaScriptString(const QString& text) {
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// The helper that reports on a page and changes it in place, ready to run on
// every page.
QString PageHelper() {
  QFile file(QStringLiteral(":/preview/preview_update.js"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()) + "(" + JavaScriptString(kWordPrefix) + ");";
}

class PreviewPage : public QWebEnginePage {
  Q_OBJECT

 public:
  explicit PreviewPage(QObject* parent) : QWebEnginePage(parent) {
    // Before the page's own scripts run, so that it sees what they change.
    QWebEngineScript helper;
    helper.setName(QStringLiteral("vorlindo-preview"));
    helper.setInjectionPoint(QWebEngineScript::DocumentCreation);
    helper.setWorldId(QWebEngineScript::ApplicationWorld);
    helper.setSourceCode(PageHelper());
    scripts().insert(helper);
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
  InstallAccessibleControls();
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
      if (view == back()) {
        BackSignalled(word);
      } else {
        FrontSignalled(word);
      }
    });
  }
  stack_->setCurrentWidget(views_[front_]);
  answer_timeout_.setSingleShot(true);
  answer_timeout_.setInterval(kAnswerTimeoutMs);
  connect(&answer_timeout_, &QTimer::timeout, this, [this] { AnswerOverdue(); });
  colours_rest_.setSingleShot(true);
  connect(&colours_rest_, &QTimer::timeout, this, [this] {
    if (loading_ == Loading::kNothing && !waiting_.isEmpty()) StartWaiting();
  });
}

// A page answers the scripts still running in it as it goes, so the views go
// while the preview is whole, and with no load under way for the answers to
// carry on.
WebEnginePreview::~WebEnginePreview() {
  loading_ = Loading::kNothing;
  waiting_.clear();
  answer_timeout_.stop();
  colours_rest_.stop();
  for (QWebEngineView*& view : views_) {
    delete view;
    view = nullptr;
  }
}

void WebEnginePreview::Navigate(const QString& page_path) {
  waiting_ = page_path;
  if (loading_ == Loading::kNothing) {
    StartWaiting();
  } else if (!read_) {
    // The file has just been written again: a load that had not read it
    // whole yet may hold a cut-off page.
    stale_ = true;
  }
}

bool WebEnginePreview::ColoursMoving() const {
  return since_anticipated_.isValid() && since_anticipated_.elapsed() < kColoursRestMs;
}

// Starts loading the page waiting, once the colours painted ahead rest.
void WebEnginePreview::StartWaiting() {
  if (ColoursMoving()) {
    colours_rest_.start(static_cast<int>(kColoursRestMs - since_anticipated_.elapsed()));
    return;
  }
  StartLoad(waiting_);
}

bool WebEnginePreview::AnticipateColour(const QString& old_code, const QString& new_code) {
  // Only where the page asked for last is on show, as a change in place.
  if (!CanChangeInPlace(page_path_)) return false;
  view()->page()->runJavaScript(
      QStringLiteral("typeof vorlindoAnticipate === 'function' && vorlindoAnticipate(%1, %2)")
          .arg(JavaScriptString(old_code), JavaScriptString(new_code)),
      QWebEngineScript::ApplicationWorld);
  since_anticipated_.start();
  // A page underneath would come to the front with the colour before.
  if (loading_ == Loading::kInSecondView) stale_ = true;
  return true;
}

bool WebEnginePreview::OnScreen() const {
  // The engine draws no frames for a hidden or minimized window, so a page
  // there would wait in vain for its word that it has been drawn.
  return isVisible() && !window()->isMinimized();
}

bool WebEnginePreview::CanChangeInPlace(const QString& page_path) const {
  // Where the user has followed a link, or the page on show failed, the
  // page is loaded anew.
  return shown_ok_ && OnScreen() &&
         view()->url().adjusted(QUrl::RemoveFragment) == QUrl::fromLocalFile(page_path);
}

void WebEnginePreview::StartLoad(QString page_path) {
  const bool in_place = CanChangeInPlace(page_path);
  page_path_ = page_path;
  ++load_number_;
  waiting_.clear();
  in_place ? StartInPlace() : StartInSecondView();
  emit LoadStarted();
}

void WebEnginePreview::Begin(Loading loading) {
  loading_ = loading;
  // This load starts after every write asked for so far.
  read_ = false;
  stale_ = false;
  ok_ = false;
}

void WebEnginePreview::StartInPlace() {
  Begin(Loading::kInPlace);
  const int number = load_number_;
  view()->page()->runJavaScript(
      QStringLiteral("typeof vorlindoUpdate === 'function' && (vorlindoUpdate(%1, %2), true)")
          .arg(JavaScriptString(QUrl::fromLocalFile(page_path_).toString(QUrl::FullyEncoded)))
          .arg(number),
      QWebEngineScript::ApplicationWorld, [this, number](const QVariant& started) {
        if (!started.toBool() && loading_ == Loading::kInPlace && number == load_number_) {
          StartInSecondView();
        }
      });
  answer_timeout_.start();
}

void WebEnginePreview::StartInSecondView() {
  Begin(Loading::kInSecondView);
  answer_timeout_.stop();
  // Loading the address on show again reads the file afresh.
  back()->load(QUrl::fromLocalFile(page_path_));
  // With nothing on show to keep, the first page shows as it loads: brought
  // up only once read, a long page took as long again to reach the screen
  // (at 1,000 links, some 150 ms of the start).
  if (!anything_shown_) stack_->setCurrentWidget(back());
}

void WebEnginePreview::FrontSignalled(const QString& word) {
  if (loading_ != Loading::kInPlace) return;
  const QString number = QString::number(load_number_);
  if (word == kReadInPlaceWord + number) {
    Read(true);
  } else if (word == kDrawnWord + number) {
    LoadDone();
  } else if (word == kReloadWord + number) {
    StartInSecondView();
  }
}

void WebEnginePreview::BackRead(bool ok) {
  if (loading_ != Loading::kInSecondView || read_) return;
  Read(ok);
  if (stale_) {
    LoadDone();
    return;
  }
  if (!anything_shown_ || !OnScreen()) {
    BringBackToFront();
    return;
  }
  // Scroll to where the user is, as the page on show says (the view's own
  // figure follows it only once drawn), then wait for the frame that draws
  // it.
  const int number = load_number_;
  view()->page()->runJavaScript(
      QStringLiteral("scrollX + ', ' + scrollY"), QWebEngineScript::ApplicationWorld,
      [this, number](const QVariant& scrolled) {
        if (loading_ != Loading::kInSecondView || number != load_number_) return;
        const QString scroll_to = scrolled.toString().isEmpty() ? "0, 0" : scrolled.toString();
        back()->page()->runJavaScript(
            QStringLiteral("vorlindoShowAt(%1, %2)").arg(scroll_to).arg(number),
            QWebEngineScript::ApplicationWorld);
      });
  answer_timeout_.start();
}

void WebEnginePreview::BackSignalled(const QString& word) {
  if (loading_ != Loading::kInSecondView) return;
  if (word == kReadWord) {
    BackRead(true);
  } else if (word == kDrawnWord + QString::number(load_number_) && answer_timeout_.isActive()) {
    BackDrawn();
  }
}

void WebEnginePreview::Read(bool ok) {
  read_ = true;
  ok_ = ok;
  emit PageRead();
}

void WebEnginePreview::AnswerOverdue() {
  if (loading_ == Loading::kInPlace) {
    StartInSecondView();
  } else if (loading_ == Loading::kInSecondView) {
    BackDrawn();
  }
}

// The page underneath comes to the front, unless the one on show has since
// been given a newer colour.
void WebEnginePreview::BackDrawn() {
  stale_ ? LoadDone() : BringBackToFront();
}

void WebEnginePreview::BringBackToFront() {
  front_ = 1 - front_;
  stack_->setCurrentWidget(views_[front_]);
  SwapShownForAssistiveTechnology(this, views_[front_], back());
  LoadDone();
}

// Ends the load under way: its page is on show, unless its file was
// rewritten before it had been read.
void WebEnginePreview::LoadDone() {
  answer_timeout_.stop();
  const bool dropped = stale_ && loading_ == Loading::kInSecondView;
  loading_ = Loading::kNothing;
  if (!dropped) {
    anything_shown_ = true;
    shown_ok_ = ok_;
    emit PageShown(ok_);
  }
  if (!waiting_.isEmpty()) StartWaiting();
}

}  // namespace qv

#include "web_engine_preview.moc"
