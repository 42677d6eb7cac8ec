// The original gumbo: it takes the options again to release a tree, and
// always parses to the end of the document.
#include "import/html_tree.h"

namespace qv::import {

void HtmlTreeRelease::operator()(GumboOutput* output) const {
  gumbo_destroy_output(&kGumboDefaultOptions, output);
}

Result<HtmlTree> ParseHtml(std::string_view html, const std::string& path) {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;
  HtmlTree tree(gumbo_parse_with_options(&options, html.data(), html.size()));
  if (tree == nullptr) return Status::Error("cannot parse " + path);
  return tree;
}

}  // namespace qv::import
