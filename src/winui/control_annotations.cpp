#include "winui/control_annotations.h"

#include "generator/windows_text.h"

namespace qv::winui {

ControlAnnotations::ControlAnnotations() {
  CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                   reinterpret_cast<void**>(services_.Receive()));
}

void ControlAnnotations::Clear() {
  if (services_) {
    MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    for (const auto& [control, given] : given_) {
      services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, properties,
                                2);
    }
  }
  given_.clear();
}

void ControlAnnotations::SetName(HWND control, const std::string& name) {
  given_[control].name = name;
  Annotate(control, PROPID_ACC_NAME, name);
}

void ControlAnnotations::SetDescription(HWND control, const std::string& description) {
  given_[control].description = description;
  Annotate(control, PROPID_ACC_DESCRIPTION, description);
}

std::string ControlAnnotations::NameOf(HWND control) const {
  const auto found = given_.find(control);
  return found == given_.end() ? std::string() : found->second.name;
}

std::string ControlAnnotations::DescriptionOf(HWND control) const {
  const auto found = given_.find(control);
  return found == given_.end() ? std::string() : found->second.description;
}

void ControlAnnotations::Annotate(HWND control, const MSAAPROPID& property,
                                  const std::string& text) {
  if (!services_) return;
  if (text.empty()) {
    MSAAPROPID properties[] = {property};
    services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, properties,
                              1);
    return;
  }
  const std::wstring wide = WideText(text);
  services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                            wide.c_str());
}

}  // namespace qv::winui
