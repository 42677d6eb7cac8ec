#include "ui/clickable_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "ui/accessible_controls.h"

namespace qv {

ClickableLabel::ClickableLabel(Role role, QWidget* parent)
    : ClickableLabel(role, QString(), parent) {}

ClickableLabel::ClickableLabel(Role role, const QString& text, QWidget* parent)
    : QLabel(parent), role_(role) {
  InstallAccessibleControls();
  setFocusPolicy(Qt::StrongFocus);
  // Room for the focus frame around the text or picture.
  setContentsMargins(3, 3, 3, 3);
  // Set only now: a text set while the label was still a plain one could
  // make Qt describe it as plain text for good.
  setText(text);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  // A press that is dragged off the label and released elsewhere is no click.
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (!event->isAutoRepeat()) emit clicked();
      event->accept();
      return;
    default:
      QLabel::keyPressEvent(event);
  }
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = rect().adjusted(1, 1, -1, -1);
  frame.backgroundColor = palette().color(backgroundRole());
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

}  // namespace qv
