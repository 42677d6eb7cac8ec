// The main window: a frame around the preview of the page.
#pragma once

#include <QElapsedTimer>
#include <QSize>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "control/views.h"

namespace qv {

class PagePreview;

// The window's design size, in twips.
inline constexpr QSize kMainClientTwips(10545, 8595);

class MainWindow : public QWidget, public MainView {
  Q_OBJECT

 public:
  // Takes `preview` as its child.
  explicit MainWindow(PagePreview* preview, QWidget* parent = nullptr);

  PagePreview* preview() const { return preview_; }

  void ShowPage(const std::string& page_path) override;
  bool AnticipateColour(const std::string& old_code, const std::string& new_code) override;
  void RunAfterPendingEvents(std::function<void()> task) override;
  void RunOnceRested(std::function<void()> task) override;
  void SetTitle(const std::string& title) override;
  void Show() override { show(); }
  void Activate() override { activateWindow(); }
  bool IsShown() const override { return isVisible(); }

 signals:
  void Activated();

 protected:
  bool event(QEvent* event) override;

 private:
  PagePreview* preview_;
  QElapsedTimer since_task_ended_;
  std::function<void()> rested_task_;
  QTimer rest_;  // runs `rested_task_`
};

}  // namespace qv
