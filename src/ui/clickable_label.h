// A label or picture that reacts to a click, like a button without a frame.
#pragma once

#include <QLabel>

namespace qv {

class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace qv
