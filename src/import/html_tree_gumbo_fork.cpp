// The maintained fork of gumbo: it releases a tree without the options, and
// stops early, leaving a partial tree and saying why, at an element nested
// deeper or carrying more attributes than its limits allow (400 each), or
// when memory runs out. Such a file is refused whole.
#include "import/html_tree.h"

namespace qv::import {
namespace {

std::string Refusal(const std::string& path, GumboOutputStatus status) {
  switch (status) {
    case GUMBO_STATUS_TREE_TOO_DEEP:
      return path + " has markup nested deeper than the HTML parser follows";
    case GUMBO_STATUS_TOO_MANY_ATTRIBUTES:
      return path + " has a tag with more attributes than the HTML parser takes";
    case GUMBO_STATUS_OUT_OF_MEMORY:
      return "not enough memory to read " + path;
    default:
      return "cannot parse " + path + ": " + gumbo_status_to_string(status);
  }
}

}  // namespace

void HtmlTreeRelease::operator()(GumboOutput* output) const {
  gumbo_destroy_output(output);
}

Result<HtmlTree> ParseHtml(std::string_view html, const std::string& path) {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;
  HtmlTree tree(gumbo_parse_with_options(&options, html.data(), html.size()));
  if (tree == nullptr) return Status::Error("cannot parse " + path);
  if (tree->status != GUMBO_STATUS_OK) return Status::Error(Refusal(path, tree->status));
  return tree;
}

}  // namespace qv::import
