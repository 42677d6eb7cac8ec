// The desktop program on Windows: the start page in the system's web control
// and the settings window, in Windows' own controls.
#include "app/process_setup.h"
#include "run/surroundings.h"
#include "winui/desktop_program.h"

int main() {
  qv::IgnoreFileSizeSignal();
  const qv::winui::OleApartment apartment;
  qv::SystemSurroundings surroundings;
  qv::winui::DesktopProgram program(surroundings);
  program.Start();
  return program.Run();
}
