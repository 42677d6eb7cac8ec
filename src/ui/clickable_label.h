// A label or picture that reacts to a click, like a button without a frame:
// it takes focus with Tab, shows a focus frame, and acts on Return or Space.
#pragma once

#include <QLabel>

namespace qv {

class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickableLabel(QWidget* parent = nullptr);
  explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qv
