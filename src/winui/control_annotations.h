// The names and descriptions that assistive technology reads for controls
// whose own text does not name them ("...", "1", "Standaard", a slider after
// its "Red"), given through Windows' annotation of their accessible objects
// (IAccPropServices), which the system's controls consult before their text.
#pragma once

#include <oleacc.h>

#include <map>
#include <string>

#include "generator/windows_api.h"
#include "winui/com_pointer.h"

namespace qv::winui {

class ControlAnnotations {
 public:
  ControlAnnotations();
  // Takes every annotation back: call before the controls go.
  void Clear();

  void SetName(HWND control, const std::string& name);
  void SetDescription(HWND control, const std::string& description);

  // What `control` was given; empty where nothing was.
  std::string NameOf(HWND control) const;
  std::string DescriptionOf(HWND control) const;

 private:
  struct Given {
    std::string name;
    std::string description;
  };
  void Annotate(HWND control, const MSAAPROPID& property, const std::string& text);

  // None where the system offers no annotation; the names are then kept
  // here alone, and assistive technology reads the controls' own texts.
  ComPointer<IAccPropServices> services_;
  std::map<HWND, Given> given_;
};

}  // namespace qv::winui
