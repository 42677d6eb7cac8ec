// The preview as a browser view.
#pragma once

#include "ui/page_preview.h"

class QWebEngineView;

namespace qv {

class WebEnginePreview : public PagePreview {
  Q_OBJECT

 public:
  explicit WebEnginePreview(QWidget* parent = nullptr);

  void Navigate(const QString& page_path) override;

  QWebEngineView* view() const { return view_; }

 private:
  QWebEngineView* view_;
};

}  // namespace qv
