// What a generation run needs from outside the core: the program folder, the
// registry, today's date and the preview. The program passes the real ones;
// tests pass their own.
#pragma once

#include <memory>
#include <string>

#include "generator/types.h"
#include "settings/registry.h"

namespace qv {

class RunSurroundings {
 public:
  virtual ~RunSurroundings() = default;
  // The program folder, ending in exactly one separator.
  virtual std::string AppFolder() = 0;
  virtual RegistryApi& Registry() = 0;
  virtual CalendarDate Today() = 0;
  // Asks the preview to show the page at `page_path`; does not wait for it.
  virtual void Navigate(const std::string& page_path) = 0;
};

// The machine's own surroundings: the executable's folder, the user's
// registry, the local date; navigation requests go nowhere.
class SystemSurroundings : public RunSurroundings {
 public:
  SystemSurroundings();
  ~SystemSurroundings() override;
  std::string AppFolder() override;
  RegistryApi& Registry() override;
  CalendarDate Today() override;
  void Navigate(const std::string& page_path) override;

 private:
  std::unique_ptr<RegistryApi> registry_;
};

}  // namespace qv
