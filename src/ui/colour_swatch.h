// The small field beside a colour code that shows the colour the page gets,
// or a cross where the page cannot use the code as a colour.
#pragma once

#include <QColor>
#include <QFrame>
#include <optional>

namespace qv {

class ColourSwatch : public QFrame {
  Q_OBJECT

 public:
  explicit ColourSwatch(QWidget* parent = nullptr);

  // None shows the cross.
  void ShowColour(std::optional<QColor> colour);
  std::optional<QColor> colour() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<QColor> colour_;
};

}  // namespace qv
