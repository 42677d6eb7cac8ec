#include "ui/web_engine_preview.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace qv {

WebEnginePreview::WebEnginePreview(QWidget* parent)
    : PagePreview(parent), view_(new QWebEngineView(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  connect(view_, &QWebEngineView::loadFinished, this, &PagePreview::PageShown);
}

void WebEnginePreview::Navigate(const QString& page_path) {
  const QUrl page = QUrl::fromLocalFile(page_path);
  // The file under the same name is new after every run: show it afresh.
  if (view_->url() == page) {
    view_->reload();
  } else {
    view_->load(page);
  }
}

}  // namespace qv
