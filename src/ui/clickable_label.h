// A label or picture that reacts to a click, like a button without a frame:
// it takes focus with Tab, shows a focus frame, and acts on Return or Space.
// Assistive technology knows it as the button or link it acts as, with the
// click as its action.
#pragma once

#include <QLabel>

namespace qv {

class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  enum class Role { kButton, kLink };

  explicit ClickableLabel(Role role, QWidget* parent = nullptr);
  ClickableLabel(Role role, const QString& text, QWidget* parent = nullptr);

  Role role() const { return role_; }
  // Does what a click does.
  void Click() { emit clicked(); }

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  Role role_;
};

}  // namespace qv
