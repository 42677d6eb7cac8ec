// The bookmarks file every browser exports, read with an HTML5 parser. The
// parser turns the loose DL / DT / DD markup into trees of different shapes
// (a folder's list may land inside its DT, or inside the DD of its
// description), so the tree is not read by shape: it is walked in document
// order, and a folder heading (H3) owns the next list (DL) that opens.
#include <gumbo.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/text.h"
#include "import/bookmark_readers.h"
#include "import/bookmarks_html_end.h"
#include "import/html_tree.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

// Each tag costs the parser a walk over the open elements, so markup that
// nests deeply takes it quadratic time, and every tag costs it a few hundred
// bytes. Both are bounded before it starts.
constexpr std::size_t kMaxTags = 4 * kMaxSourceEntries;
constexpr std::size_t kMaxMarkupNesting = 2 * kMaxFolderDepth + 16;

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiAlphanumeric(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

// Tags that hold no level open: void elements, those the next sibling closes,
// and those the parser keeps once whatever the file says.
bool OpensNoLevel(std::string_view name) {
  static constexpr std::array<std::string_view, 30> kNames = {
      "area",  "base", "basefont", "bgsound", "br",   "col",  "embed",  "frame",
      "hr",    "img",  "input",    "keygen",  "link", "meta", "param",  "source",
      "track", "wbr",  "p",        "dt",      "dd",   "li",   "option", "optgroup",
      "tr",    "td",   "th",       "html",    "head", "body"};
  for (std::string_view known : kNames) {
    if (name == known) return true;
  }
  return false;
}

struct MarkupSize {
  std::size_t tags = 0;
  std::size_t deepest_nesting = 0;
};

// An estimate of the number of tags and of how deeply the elements nest, from
// the tag names alone; generous to real files, where every folder list is
// closed, and it errs high on markup that leaves elements open.
MarkupSize MeasureMarkup(std::string_view html) {
  MarkupSize size;
  std::size_t depth = 0;
  bool link_open = false;  // a new link closes an open one
  for (std::size_t pos = html.find('<'); pos != std::string_view::npos;
       pos = html.find('<', pos + 1)) {
    ++size.tags;
    const bool closing = pos + 1 < html.size() && html[pos + 1] == '/';
    const std::size_t start = pos + 1 + (closing ? 1 : 0);
    if (start >= html.size() || !IsAsciiLetter(html[start])) continue;
    std::size_t end = start;
    while (end < html.size() && end - start < 16 && IsAsciiAlphanumeric(html[end])) ++end;
    const std::string name = AsciiLowerCase(html.substr(start, end - start));
    if (OpensNoLevel(name)) continue;
    if (name == "a") {
      if (link_open != closing) continue;
      link_open = !closing;
    }
    if (closing) {
      depth -= depth > 0 ? 1 : 0;
    } else if (++depth > size.deepest_nesting) {
      size.deepest_nesting = depth;
    }
  }
  return size;
}

std::string_view TrimHtmlWhitespace(std::string_view text) {
  constexpr std::string_view kWhitespace = " \t\n\f\r";
  const std::size_t first = text.find_first_not_of(kWhitespace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhitespace) - first + 1);
}

bool IsListElement(const GumboNode* node) {
  if (node->type != GUMBO_NODE_ELEMENT) return false;
  const GumboTag tag = node->v.element.tag;
  return tag == GUMBO_TAG_DL || tag == GUMBO_TAG_DT || tag == GUMBO_TAG_DD;
}

// The text inside `node`, its markup left out, and the lists that a heading
// or link left open holds.
std::string TextOf(const GumboNode* node) {
  std::string text;
  std::vector<const GumboNode*> pending = {node};
  while (!pending.empty()) {
    const GumboNode* current = pending.back();
    pending.pop_back();
    if (current->type == GUMBO_NODE_TEXT || current->type == GUMBO_NODE_WHITESPACE ||
        current->type == GUMBO_NODE_CDATA) {
      text += current->v.text.text;
    } else if ((current->type == GUMBO_NODE_ELEMENT || current->type == GUMBO_NODE_TEMPLATE) &&
               !IsListElement(current)) {
      const GumboVector& children = current->v.element.children;
      for (unsigned int i = children.length; i > 0; --i) {
        pending.push_back(static_cast<const GumboNode*>(children.data[i - 1]));
      }
    }
  }
  return text;
}

std::string TitleOf(const GumboNode* node) {
  return std::string(TrimHtmlWhitespace(TextOf(node)));
}

const char* AttributeValue(const GumboElement& element, const char* name) {
  const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
  return attribute == nullptr ? nullptr : attribute->value;
}

bool HasFlag(const GumboElement& element, const char* name) {
  const char* value = AttributeValue(element, name);
  return value != nullptr && AsciiLowerCase(value) != "false";
}

const GumboVector& ChildrenOf(const GumboNode* node) {
  return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
}

// Follows the document in order, keeping track of the folder every link
// stands in.
class BookmarkListWalker {
 public:
  // The root folder a link lies in: none (the document's own root), the
  // toolbar or "Other Bookmarks".
  enum class RootKind { kNone, kToolbar, kUnfiled };

  explicit BookmarkListWalker(const std::string& path) : path_(path) {}

  Status Walk(const GumboNode* document);

  // The links, their roots named as the store of the browser whose export
  // this is names them.
  SourceBookmarks TakeBookmarks();
  // True when a link stood in a DL list or DT item.
  bool saw_listed_link() const { return saw_listed_link_; }
  bool saw_link() const { return !bookmarks_.empty(); }
  bool saw_list() const { return saw_list_; }
  // True when a DL list inside another had no end tag of its own.
  bool left_inner_list_open() const { return left_inner_list_open_; }
  // True when a DL list that stands in no other had no end tag.
  bool left_outer_list_open() const { return left_outer_list_open_; }

 private:
  // Where the links of the current list go.
  struct Place {
    std::string root;
    std::vector<std::string> folders;
    bool in_folder = false;  // inside a folder heading's list
    RootKind root_kind = RootKind::kNone;
  };
  // A folder heading still waiting for its list.
  struct FolderHeading {
    std::string title;
    RootKind root_kind = RootKind::kNone;
  };

  // The walk goes on into every element's children: a link or heading left
  // open holds what follows it.
  void Enter(const GumboNode* node);
  void Leave(const GumboNode* node);
  void OpenList(const GumboElement& list);
  void AddLink(const GumboNode* node);
  Status CountEntry();

  static RootKind RootKindOf(const GumboElement& heading);
  bool IsChromiumExport() const;
  std::optional<std::string_view> StoreRootName(RootKind kind) const;

  const std::string& path_;
  std::vector<Place> places_ = {Place{}};
  std::optional<FolderHeading> heading_;
  int open_lists_and_items_ = 0;
  int open_lists_ = 0;
  std::size_t entries_ = 0;
  bool saw_listed_link_ = false;
  bool saw_list_ = false;
  bool left_inner_list_open_ = false;
  bool left_outer_list_open_ = false;
  // The title of the H1 outside any folder, and the root folders found.
  std::string document_title_;
  bool saw_toolbar_root_ = false;
  bool saw_unfiled_root_ = false;
  // The root folder of each link in `bookmarks_`.
  std::vector<RootKind> root_kinds_;
  Status status_ = Status::Ok();
  SourceBookmarks bookmarks_;
};

BookmarkListWalker::RootKind BookmarkListWalker::RootKindOf(const GumboElement& heading) {
  if (HasFlag(heading, "personal_toolbar_folder")) return RootKind::kToolbar;
  if (HasFlag(heading, "unfiled_bookmarks_folder")) return RootKind::kUnfiled;
  return RootKind::kNone;
}

// Chromium-family browsers write "Bookmarks" as H1, the bookmarks bar as a
// toolbar root, and then the links and folders of their "Other bookmarks"
// (and of "Mobile bookmarks", which the file cannot tell apart) outside any
// root folder. Firefox writes an "Other Bookmarks" root of its own.
bool BookmarkListWalker::IsChromiumExport() const {
  return document_title_ == "Bookmarks" && saw_toolbar_root_ && !saw_unfiled_root_;
}

// The name the store of the browser whose export this is gives a root, where
// the export names it otherwise. Firefox writes the titles of its roots in
// the user's language ("Lesezeichen-Menü") and stores internal names in
// places.sqlite, which its reader shows under their English names; only
// Firefox writes an "Other Bookmarks" root. Chromium's export leaves its
// "Other bookmarks" unnamed.
std::optional<std::string_view> BookmarkListWalker::StoreRootName(RootKind kind) const {
  if (saw_unfiled_root_) {
    switch (kind) {
      case RootKind::kNone:
        return kFirefoxBookmarksMenu;
      case RootKind::kToolbar:
        return kFirefoxBookmarksToolbar;
      case RootKind::kUnfiled:
        return kFirefoxOtherBookmarks;
    }
  }
  if (IsChromiumExport() && kind == RootKind::kNone) return kChromiumOtherBookmarks;
  return std::nullopt;
}

SourceBookmarks BookmarkListWalker::TakeBookmarks() {
  for (std::size_t i = 0; i < bookmarks_.size(); ++i) {
    if (const auto name = StoreRootName(root_kinds_[i])) bookmarks_[i].root = *name;
  }
  return std::move(bookmarks_);
}

Status BookmarkListWalker::Walk(const GumboNode* document) {
  struct Frame {
    const GumboNode* node;
    unsigned int next_child;
  };
  std::vector<Frame> stack = {{document, 0}};
  while (!stack.empty() && status_.ok()) {
    Frame& frame = stack.back();
    const GumboVector& children = ChildrenOf(frame.node);
    if (frame.next_child == children.length) {
      Leave(frame.node);
      stack.pop_back();
      continue;
    }
    const auto* child = static_cast<const GumboNode*>(children.data[frame.next_child++]);
    if (child->type != GUMBO_NODE_ELEMENT) continue;
    Enter(child);
    stack.push_back({child, 0});
  }
  return status_;
}

void BookmarkListWalker::Enter(const GumboNode* node) {
  const GumboElement& element = node->v.element;
  switch (element.tag) {
    case GUMBO_TAG_DL:
      OpenList(element);
      ++open_lists_and_items_;
      ++open_lists_;
      break;
    case GUMBO_TAG_DT:
    case GUMBO_TAG_DD:
      ++open_lists_and_items_;
      break;
    case GUMBO_TAG_A:
      AddLink(node);
      break;
    case GUMBO_TAG_H1:
      if (!places_.back().in_folder) {
        places_.back().root = TitleOf(node);
        document_title_ = places_.back().root;
        heading_.reset();
        break;
      }
      [[fallthrough]];  // inside a folder it is one more folder heading
    case GUMBO_TAG_H3:
      heading_ = FolderHeading{TitleOf(node), RootKindOf(element)};
      status_ = CountEntry();
      break;
    default:
      break;
  }
}

void BookmarkListWalker::Leave(const GumboNode* node) {
  if (node->type != GUMBO_NODE_ELEMENT) return;
  const GumboTag tag = node->v.element.tag;
  if (tag == GUMBO_TAG_DL || tag == GUMBO_TAG_DT || tag == GUMBO_TAG_DD) --open_lists_and_items_;
  if (tag == GUMBO_TAG_DL) --open_lists_;
  if (tag == GUMBO_TAG_DL && places_.size() > 1) places_.pop_back();
}

void BookmarkListWalker::OpenList(const GumboElement& list) {
  saw_list_ = true;
  if (list.original_end_tag.length == 0) {
    (open_lists_ > 0 ? left_inner_list_open_ : left_outer_list_open_) = true;
  }
  Place place = places_.back();
  if (heading_.has_value()) {
    if (!place.in_folder && heading_->root_kind != RootKind::kNone) {
      place.root = std::move(heading_->title);
      place.root_kind = heading_->root_kind;
      (heading_->root_kind == RootKind::kToolbar ? saw_toolbar_root_ : saw_unfiled_root_) = true;
    } else {
      place.folders.push_back(std::move(heading_->title));
    }
    place.in_folder = true;
    heading_.reset();
  }
  if (place.folders.size() > kMaxFolderDepth) {
    status_ = Status::Error(path_ + " has folders nested more than " +
                            std::to_string(kMaxFolderDepth) + " deep");
  }
  places_.push_back(std::move(place));
}

void BookmarkListWalker::AddLink(const GumboNode* node) {
  // The parser repeats a link left open where its formatting would go on;
  // the copy is no bookmark of the file.
  constexpr unsigned int kCopies =
      GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;
  if ((node->parse_flags & kCopies) != 0) return;
  heading_.reset();  // a heading without a list of its own was an empty folder
  const char* address = AttributeValue(node->v.element, "href");
  // A live bookmark without its site address still has its feed.
  if (address == nullptr) address = AttributeValue(node->v.element, "feedurl");
  if (address == nullptr) return;  // an anchor, not a link
  if (open_lists_and_items_ > 0) saw_listed_link_ = true;
  const Place& place = places_.back();
  root_kinds_.push_back(place.root_kind);
  bookmarks_.push_back(
      {place.root, place.folders, TitleOf(node), std::string(TrimHtmlWhitespace(address))});
  status_ = CountEntry();
}

Status BookmarkListWalker::CountEntry() {
  if (++entries_ <= kMaxSourceEntries) return Status::Ok();
  return Status::Error(path_ + " holds more than " + std::to_string(kMaxSourceEntries) +
                       " bookmarks and folders, more than an import takes");
}

bool HasBookmarksDocumentType(const GumboOutput& output) {
  const GumboDocument& document = output.document->v.document;
  return document.has_doctype && AsciiLowerCase(document.name) == "netscape-bookmark-file-1";
}

bool IsRawControlCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 0x01 && byte <= 0x1F && byte != '\t' && byte != '\n' && byte != '\f' &&
          byte != '\r') ||
         byte == 0x7F;
}

// `html` with its raw control characters written as character references:
// the parser turns the raw ones into U+FFFD but keeps the references, and the
// records keep what the browser stored.
std::string ControlCharactersAsReferences(std::string_view html) {
  std::string escaped;
  escaped.reserve(html.size());
  for (const char c : html) {
    if (IsRawControlCharacter(c)) {
      escaped += "&#" + std::to_string(static_cast<unsigned char>(c)) + ';';
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// Refuses markup that would cost the parser too much time or memory.
Status CheckMarkupSize(const std::string& path, std::string_view html) {
  const MarkupSize size = MeasureMarkup(html);
  if (size.tags > kMaxTags) {
    return Status::Error(path + " has more than " + std::to_string(kMaxTags) +
                         " tags, more than an import takes");
  }
  if (size.deepest_nesting > kMaxMarkupNesting) {
    return Status::Error(path + " has markup nested more than " +
                         std::to_string(kMaxMarkupNesting) + " deep");
  }
  return Status::Ok();
}

}  // namespace

Result<SourceBookmarks> ReadBookmarksHtml(const std::string& path) {
  Result<std::string> bytes = ReadWholeFile(path, kMaxSourceFileBytes);
  if (!bytes.ok()) return bytes.status();
  // The parser takes UTF-8 and would read a byte-order mark as text before
  // the document type.
  std::string_view html = WithoutByteOrderMark(*bytes);
  // Judged before the control characters (Ctrl-Z among them) are escaped.
  const bool ends_with_tag = EndsWithTag(html);
  const bool ends_after_entry = EndsAfterWholeEntry(html);
  std::string escaped;
  if (std::any_of(html.begin(), html.end(), IsRawControlCharacter)) {
    escaped = ControlCharactersAsReferences(html);
    html = escaped;
  }
  if (Status size = CheckMarkupSize(path, html); !size.ok()) return size;

  const Result<HtmlTree> parsed = ParseHtml(html, path);
  if (!parsed.ok()) return parsed.status();
  const GumboOutput& output = **parsed;

  BookmarkListWalker walker(path);
  if (Status walked = walker.Walk(output.document); !walked.ok()) return walked;
  if (!HasBookmarksDocumentType(output) && !walker.saw_listed_link()) {
    return Status::Error(path +
                         " is not a bookmarks file: it has neither the bookmarks document type "
                         "nor a list of links");
  }
  if (!walker.saw_list() && !walker.saw_link()) {
    return Status::Error(path + " seems cut off: it ends before its list of links");
  }
  const bool whole = walker.left_outer_list_open() ? ends_after_entry : ends_with_tag;
  if (walker.left_inner_list_open() || !whole) {
    return Status::Error(path + " seems cut off: it ends before its lists of links are closed");
  }
  return walker.TakeBookmarks();
}

}  // namespace qv::import
