// What assistive technology is told of the program's own kinds of widget,
// where Qt's defaults would say too little: the windows as frames, a row of
// controls as one named group, a clickable label as the button or link it
// acts as, and the preview as the page on show alone.
#pragma once

#include <QWidget>

namespace qv {

// Makes Qt describe the widgets below as said there. Safe to call again;
// each window calls it before it builds its first control.
void InstallAccessibleControls();

// A row of controls that belong together, such as the title-size buttons:
// one group, named by its accessible name, for assistive technology; looks
// as a plain widget does.
class ControlGroup : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
};

// Tells assistive technology that, in `holder`, `shown` has taken the place
// of `hidden`, which still lies beneath it, drawn but out of sight.
void SwapShownForAssistiveTechnology(QWidget* holder, QWidget* shown, QWidget* hidden);

}  // namespace qv
