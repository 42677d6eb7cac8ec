#include "import/address_screen.h"

#include <gtest/gtest.h>

namespace qv::import {
namespace {

TEST(ReasonToLeaveOut, WritesPagesFilesAndMailButNoScriptOrNetworkPath) {
  const struct {
    std::string address, reason;  // reason "": written
  } cases[] = {
      {"http://example.org/", ""},
      {"FTP://ftp.example.org/pub/", ""},
      {"mailto:someone@example.org", ""},
      {"news:comp.lang.c++", ""},
      {"tel:+31201234567", ""},
      {"http:\\\\example.org\\a", ""},  // a browser reads it as http://example.org/a
      {"FILE:///home/me/notes.txt", ""},
      {"file:///C:/Users/me/notes.txt", ""},
      {"file:/home/me/notes.txt", ""},
      {"file://localhost/home/me/", ""},
      {"FILE://LocalHost/C:/x", ""},
      {"file://C:/x", ""},
      {"file:notes.txt", ""},
      {"", "no address"},
      {"javascript:alert(1)", "javascript:"},
      {"vbscript:msgbox(1)", "vbscript:"},
      {"data:text/html,<b>x</b>", "data:"},
      {"place:sort=8", "place:"},
      {"\\\\host\\share\\file.txt", "network path"},
      {"//host/share", "network path"},
      {"\\/host/share", "network path"},
      {"%5C%5Chost%5Cshare", "network path"},
      {"file://host/share", "network path"},
      {"file:////host/share", "network path"},
      {"file:\\\\host\\share", "network path"},
      {"file:///\\\\host\\share", "network path"},
      {"file:///%5C%5Chost/share", "network path"},
      {"file:%2F%2Fhost/share", "network path"},
      {"file://localhost//host/share", "network path"},
      {"file://127.0.0.1/c$/", "network path"},
      {"C:\\Users\\me\\notes.txt", "no scheme"},
      {"www.example.org", "no scheme"},
      {"/home/me/page.html", "no scheme"},
      {"search-ms:query=x&crumb=location:\\\\host\\share", "other scheme"},
      {"ms-word:ofe|u|https://example.org/a.docx", "other scheme"},
      {"chrome://settings/", "other scheme"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReasonToLeaveOut(c.address).value_or(""), c.reason) << c.address;
  }
}

}  // namespace
}  // namespace qv::import
