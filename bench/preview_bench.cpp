// vorlindo_preview_bench: how long the user waits, after letting go of a
// slider, until the new page is fully shown in the preview, with 100 and
// 1,000 links. The releases go round the four colours, since each colour
// reaches the page in its own places. It drives the real windows (run it under xvfb-run with a
// window manager) and stamps the program's own events: slider let go (the
// rebuild starts), page written (the preview is asked for it), page read,
// page shown. Side by side in the same run, the baseline: a single browser
// view that reloads the page in place and counts it shown when it has
// loaded. Then a held arrow key: how many rebuilds, and how many pages came
// to the front meanwhile. Prints medians; exit status 0 when the targets hold
// (median under 60 ms with 100 links, under 150 ms with 1,000, pages shown
// during the held key), 3 when one fails, 1 when it cannot run.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_surroundings.h"
#include "settings/settings_file.h"
#include "synthetic_favorites.h"
#include "ui/desktop_program.h"
#include "ui/object_names.h"
#include "ui/startup_environment.h"
#include "ui/web_engine_preview.h"

namespace qv::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kReleases = 25;

// The preview before pages were loaded off-screen: one view, reloaded in place.
class InPlacePreview : public PagePreview {
 public:
  InPlacePreview() : view_(new QWebEngineView(this)) {
    connect(view_, &QWebEngineView::loadFinished, this, &PagePreview::PageShown);
  }
  void Navigate(const QString& page_path) override {
    const QUrl page = QUrl::fromLocalFile(page_path);
    view_->url() == page ? view_->reload() : view_->load(page);
  }
  void resizeEvent(QResizeEvent*) override { view_->setGeometry(rect()); }

 private:
  QWebEngineView* view_;
};

// Runs the event loop until `done` holds or `timeout_ms` have passed, as the
// program's own loop runs: without the sleeps of QTest's waits, which would
// hold back every step of the browser engine's work on this thread.
bool RunUntil(const std::function<bool()>& done, int timeout_ms) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  poll.start(1);
  QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
  if (!done()) loop.exec();
  return done();
}

void RunFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  RunUntil([&clock, ms] { return clock.elapsed() >= ms; }, ms + 1000);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A program folder with the templates beside the executable and a Favorites
// folder of `links` shortcuts.
std::string MakeProgramFolder(const fs::path& root, int links) {
  const fs::path folder = root / ("links" + std::to_string(links));
  fs::create_directories(folder);
  const fs::path data = QCoreApplication::applicationDirPath().toStdString();
  for (const char* name : {"koptekst.txt", "voettekst.txt", "nl.txt", "uk.txt"}) {
    fs::copy_file(data / name, folder / name, fs::copy_options::overwrite_existing);
  }
  const std::string favorites = (folder / "Favorites").string();
  MakeFavorites(favorites, {static_cast<std::size_t>(links), static_cast<std::size_t>(links / 12)});
  ProgramState state;
  state.settings.favorites_folder = favorites;
  SaveSettings(state, folder.string() + "/");
  return folder.string() + "/";
}

// Lets go of the thumb of `slider` after dragging it `pixels` to the right
// (or left), as the mouse does.
void DragAndRelease(QScrollBar& slider, int pixels, const std::function<void()>& before_release) {
  QStyleOptionSlider option;
  option.initFrom(&slider);
  option.orientation = slider.orientation();
  option.minimum = slider.minimum();
  option.maximum = slider.maximum();
  option.sliderPosition = slider.sliderPosition();
  option.sliderValue = slider.value();
  option.singleStep = slider.singleStep();
  option.pageStep = slider.pageStep();
  const QRect thumb = slider.style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, &slider);
  const QPoint start = thumb.center();
  QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, start);
  QTest::mouseMove(&slider, start + QPoint(pixels, 0));
  before_release();
  QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, start + QPoint(pixels, 0));
}

struct Stamps {
  double written = -1, read = -1, shown = -1;
};

struct Figures {
  double written = 0, read = 0, shown = 0;
  int samples = 0;
};

// Drags and lets go of a red slider `kReleases` times, each colour in turn;
// returns the medians from the release on.
Figures TimeReleases(DesktopProgram& program, PagePreview& preview) {
  QElapsedTimer clock;
  Stamps stamps;
  const auto now = [&clock] { return clock.nsecsElapsed() / 1e6; };
  QObject::connect(&preview, &PagePreview::PageShown, &preview, [&] {
    if (stamps.shown < 0) stamps.shown = now();
  });
  QMetaObject::Connection written, read;
  if (auto* web = qobject_cast<WebEnginePreview*>(&preview)) {
    written = QObject::connect(web, &WebEnginePreview::LoadStarted, web, [&] {
      if (stamps.written < 0) stamps.written = now();
    });
    read = QObject::connect(web, &WebEnginePreview::PageRead, web, [&] {
      if (stamps.read < 0) stamps.read = now();
    });
  }
  std::vector<double> written_ms, read_ms, shown_ms;
  for (int release = 0; release < kReleases; ++release) {
    stamps = {};
    const Colour colour = kColours[release % kColours.size()];
    auto* slider =
        program.settings_window().findChild<QScrollBar*>(SliderObjectName(colour, Channel::kRed));
    const bool back = release / kColours.size() % 2;
    DragAndRelease(*slider, back ? -6 : 6, [&] { clock.start(); });
    if (stamps.written < 0) stamps.written = now();  // the in-place preview says nothing
    if (!RunUntil([&] { return stamps.shown >= 0; }, 10000)) continue;
    written_ms.push_back(stamps.written);
    if (stamps.read >= 0) read_ms.push_back(stamps.read);
    shown_ms.push_back(stamps.shown);
    RunFor(250);
  }
  QObject::disconnect(written);
  QObject::disconnect(read);
  return {Median(written_ms), Median(read_ms), Median(shown_ms), static_cast<int>(shown_ms.size())};
}

struct Burst {
  int rebuilds = 0, shown = 0;
};

// Holds the right arrow key on a slider for `seconds`, as the keyboard's
// repeat does (every 40 ms): how many rebuilds, and how many pages came to
// the front meanwhile.
Burst HoldArrow(DesktopProgram& program, WebEnginePreview& preview, double seconds) {
  auto* slider = program.settings_window().findChild<QScrollBar*>("backgroundColourBlueSlider");
  Burst burst;
  QObject::connect(slider, &QScrollBar::valueChanged, slider, [&] { ++burst.rebuilds; });
  QObject::connect(&preview, &PagePreview::PageShown, &preview, [&] { ++burst.shown; });
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < seconds * 1000) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(slider, &press);
    RunFor(40);
  }
  const int shown_while_held = burst.shown;
  RunFor(1000);
  burst.shown = shown_while_held;
  return burst;
}

int Run() {
  const fs::path root =
      fs::temp_directory_path() / ("vorlindo_preview_bench_" + std::to_string(::getpid()));
  bool targets_hold = true;
  std::printf(
      "links  preview   written    read  shown (median ms from slider release, %d releases)\n",
      kReleases);
  for (const int links : {100, 1000}) {
    const std::string folder = MakeProgramFolder(root, links);
    BenchSurroundings surroundings(folder);
    for (const bool off_screen : {false, true}) {
      PagePreview* preview = off_screen ? static_cast<PagePreview*>(new WebEnginePreview)
                                        : static_cast<PagePreview*>(new InPlacePreview);
      DesktopProgram program(surroundings, preview);
      program.controller().set_end_program([] {});
      bool first_shown = false;
      QObject::connect(preview, &PagePreview::PageShown, preview, [&] { first_shown = true; });
      program.Start();
      if (!RunUntil([&] { return first_shown && program.settings_window().isVisible(); }, 20000)) {
        std::printf("%5d  the first page never showed\n", links);
        targets_hold = false;
        continue;
      }
      RunFor(1000);
      const Figures figures = TimeReleases(program, *preview);
      std::printf("%5d  %-9s %7.1f %7.1f %6.1f  (%d shown)\n", links,
                  off_screen ? "new" : "baseline", figures.written, figures.read, figures.shown,
                  figures.samples);
      if (off_screen) {
        targets_hold &= figures.samples == kReleases && figures.shown < (links <= 100 ? 60 : 150);
        const Burst burst = HoldArrow(program, *static_cast<WebEnginePreview*>(preview), 3.0);
        std::printf("       held arrow 3 s: %d rebuilds, %d pages shown meanwhile\n",
                    burst.rebuilds, burst.shown);
        targets_hold &= burst.shown > 0;
      }
      std::fflush(stdout);
    }
  }
  std::error_code ignored;
  fs::remove_all(root, ignored);
  std::printf("targets %s\n", targets_hold ? "hold" : "FAIL");
  return targets_hold ? 0 : 3;
}

}  // namespace
}  // namespace qv::bench

int main(int argc, char* argv[]) {
  if (!qv::MissingDisplayMessage().empty()) {
    std::fprintf(stderr, "vorlindo_preview_bench needs a display: run it under xvfb-run\n");
    return 1;
  }
  qv::PrepareBrowserEnvironment();
  QApplication application(argc, argv);
  return qv::bench::Run();
}
