// The tree the HTML parser makes of a document. The parser comes in two
// forms that differ in how a tree is released and in whether the parser may
// stop early: the original gumbo as Debian packages it
// (html_tree_gumbo.cpp), and the maintained fork that the Windows build is
// made with (html_tree_gumbo_fork.cpp); CMake picks the one that fits the
// gumbo.h at hand.
#pragma once

#include <gumbo.h>

#include <memory>
#include <string>
#include <string_view>

#include "generator/status.h"

namespace qv::import {

struct HtmlTreeRelease {
  void operator()(GumboOutput* output) const;
};
using HtmlTree = std::unique_ptr<GumboOutput, HtmlTreeRelease>;

// The whole tree of `html`, kept without its parse errors (a bookmarks file
// is one long parse error); or why there is none, naming `path`. A tree the
// parser cut short is never given: the links after the cut would be taken
// for bookmarks deleted.
Result<HtmlTree> ParseHtml(std::string_view html, const std::string& path);

}  // namespace qv::import
