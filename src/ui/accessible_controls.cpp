#include "ui/accessible_controls.h"

#include <QAccessibleWidget>
#include <QWebEngineView>

#include "ui/clickable_label.h"
#include "ui/main_window.h"
#include "ui/settings_window.h"
#include "ui/web_engine_preview.h"

namespace qv {
namespace {

// A clickable label with the role it acts in, and the click as its action.
class ClickableLabelAccessible : public QAccessibleWidget {
 public:
  explicit ClickableLabelAccessible(ClickableLabel* label)
      : QAccessibleWidget(label, label->role() == ClickableLabel::Role::kLink
                                     ? QAccessible::Link
                                     : QAccessible::Button) {
    addControllingSignal(QStringLiteral("clicked()"));
  }

  QStringList actionNames() const override {
    return QStringList{QAccessibleActionInterface::pressAction()} +
           QAccessibleWidget::actionNames();
  }

  void doAction(const QString& action) override {
    if (action == QAccessibleActionInterface::pressAction()) {
      static_cast<ClickableLabel*>(widget())->Click();
      return;
    }
    QAccessibleWidget::doAction(action);
  }
};

// The preview offers assistive technology the view on show alone: the
// other, lying beneath it, holds the page before or the page loading.
class PreviewAccessible : public QAccessibleWidget {
 public:
  explicit PreviewAccessible(WebEnginePreview* preview)
      : QAccessibleWidget(preview, QAccessible::Client), preview_(preview) {}

  int childCount() const override { return Shown() != nullptr ? 1 : 0; }

  QAccessibleInterface* child(int index) const override {
    return index == 0 && Shown() != nullptr ? QAccessible::queryAccessibleInterface(Shown())
                                            : nullptr;
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && Shown() != nullptr && child->object() == Shown() ? 0 : -1;
  }

 private:
  QWidget* Shown() const { return preview_->view(); }

  WebEnginePreview* preview_;
};

QAccessibleInterface* ProgramAccessible(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (qobject_cast<MainWindow*>(widget) != nullptr ||
      qobject_cast<SettingsWindow*>(widget) != nullptr) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  if (qobject_cast<ControlGroup*>(widget) != nullptr) {
    return new QAccessibleWidget(widget, QAccessible::Grouping);
  }
  if (auto* label = qobject_cast<ClickableLabel*>(widget)) {
    return new ClickableLabelAccessible(label);
  }
  if (auto* preview = qobject_cast<WebEnginePreview*>(widget)) {
    return new PreviewAccessible(preview);
  }
  return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
  QAccessible::installFactory(&ProgramAccessible);
}

void SwapShownForAssistiveTechnology(QWidget* holder, QWidget* shown, QWidget* hidden) {
  QAccessibleEvent hide(hidden, QAccessible::ObjectHide);
  QAccessible::updateAccessibility(&hide);
  QAccessibleEvent show(shown, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&show);
  QAccessibleEvent reorder(holder, QAccessible::ObjectReorder);
  QAccessible::updateAccessibility(&reorder);
}

}  // namespace qv
