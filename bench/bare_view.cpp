// vorlindo_bare_view PAGE: the start bench's baseline. One browser view of
// the main window's size showing the page file PAGE, with the browser
// environment the program prepares, and nothing else: no run, no settings
// window, no second view. What the program takes beyond this to put its
// first page on screen is its own.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>
#include <cstdio>

#include "ui/main_window.h"
#include "ui/startup_environment.h"
#include "ui/twips.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vorlindo_bare_view PAGE\n");
    return 2;
  }
  qv::PrepareBrowserEnvironment();
  QApplication application(argc, argv);
  QWebEngineView view;
  view.resize(qv::TwipsToPixels(qv::kMainClientTwips, qv::ScreenDotsPerInch(view)));
  view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
  view.show();
  return QApplication::exec();
}
