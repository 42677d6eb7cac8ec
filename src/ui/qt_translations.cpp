#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace qv {

QtTranslations::QtTranslations() : translator_(std::make_unique<QTranslator>()) {}

QtTranslations::~QtTranslations() {
  if (installed_) QCoreApplication::removeTranslator(translator_.get());
}

bool QtTranslations::Show(Language language) {
  if (installed_) QCoreApplication::removeTranslator(translator_.get());
  installed_ = false;
  // Qt's words are English already; only Dutch needs a translation.
  if (language != Language::kDutch) return true;
  if (!translator_->load(QStringLiteral("qtbase_nl"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  installed_ = QCoreApplication::installTranslator(translator_.get());
  return installed_;
}

}  // namespace qv
