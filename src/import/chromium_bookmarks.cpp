// The Bookmarks file of a Chromium-family profile: a JSON object whose
// "roots" hold the top-level folders, each node with "name", "type" ("url"
// or "folder"), "url" and "children", in any key order. It is read as a
// stream of parser events into a flat list of nodes, so that neither deep
// nesting nor a huge file builds a tree of JSON values.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "import/bookmark_readers.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

constexpr std::size_t kNoParent = std::numeric_limits<std::size_t>::max();

struct Node {
  std::size_t parent = kNoParent;
  std::size_t folders_around = 0;  // for a root: 0
  std::string root_key;            // for a root: its key in "roots"
  std::string name;
  std::string type;
  std::string url;
};

// Receives the parser's events (the SAX interface of the JSON library).
class BookmarkNodeCollector {
 public:
  using json = nlohmann::json;

  explicit BookmarkNodeCollector(const std::string& path) : path_(path) {}

  bool start_object(std::size_t) {
    if (ignored_levels_ > 0 || !frames_.empty()) return StartNestedObject();
    frames_.push_back({Role::kDocument, kNoParent});
    return true;
  }
  bool start_array(std::size_t) {
    if (ignored_levels_ == 0 && !frames_.empty() && frames_.back().role == Role::kNode &&
        key_ == "children") {
      frames_.push_back({Role::kChildren, frames_.back().node});
    } else {
      ++ignored_levels_;
    }
    return true;
  }
  bool end_object() { return End(); }
  bool end_array() { return End(); }
  bool key(std::string& key) {
    if (ignored_levels_ == 0) key_ = key;
    return true;
  }
  bool string(std::string& value) {
    if (ignored_levels_ > 0 || frames_.empty() || frames_.back().role != Role::kNode) return true;
    Node& node = nodes_[frames_.back().node];
    if (key_ == "name") node.name = std::move(value);
    if (key_ == "type") node.type = std::move(value);
    if (key_ == "url") node.url = std::move(value);
    return true;
  }
  bool null() { return true; }
  bool boolean(bool) { return true; }
  bool number_integer(json::number_integer_t) { return true; }
  bool number_unsigned(json::number_unsigned_t) { return true; }
  bool number_float(json::number_float_t, const std::string&) { return true; }
  bool binary(json::binary_t&) { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) {
    status_ = Status::Error(path_ + " is not valid JSON: " + JsonErrorDetail(error.what()));
    return false;
  }

  const Status& status() const { return status_; }
  bool saw_roots() const { return saw_roots_; }
  const std::vector<Node>& nodes() const { return nodes_; }

  // The library's message without its "[json.exception...]" code, short and
  // valid UTF-8 even where it quotes the file.
  static std::string JsonErrorDetail(std::string_view message) {
    const std::size_t code_end = message.find("] ");
    if (message.substr(0, 1) == "[" && code_end != std::string_view::npos) {
      message.remove_prefix(code_end + 2);
    }
    return RepairUtf8(ShortQuote(message, 200));
  }

 private:
  enum class Role { kDocument, kRoots, kNode, kChildren };
  struct Frame {
    Role role;
    std::size_t node;  // the node, or the node whose children these are
  };

  bool StartNestedObject() {
    const Frame* parent = ignored_levels_ > 0 ? nullptr : &frames_.back();
    if (parent != nullptr && parent->role == Role::kDocument && key_ == "roots") {
      saw_roots_ = true;
      frames_.push_back({Role::kRoots, kNoParent});
    } else if (parent != nullptr && parent->role == Role::kRoots) {
      return AddNode(kNoParent);
    } else if (parent != nullptr && parent->role == Role::kChildren) {
      return AddNode(parent->node);
    } else {
      ++ignored_levels_;
    }
    return true;
  }

  bool AddNode(std::size_t parent) {
    Node node;
    node.parent = parent;
    if (parent == kNoParent) {
      node.root_key = key_;
    } else {
      const Node& container = nodes_[parent];
      node.folders_around = container.parent == kNoParent ? 0 : container.folders_around + 1;
    }
    if (node.folders_around > kMaxFolderDepth) {
      status_ = Status::Error(path_ + " has folders nested more than " +
                              std::to_string(kMaxFolderDepth) + " deep");
      return false;
    }
    if (nodes_.size() == kMaxSourceEntries) {
      status_ = Status::Error(path_ + " holds more than " + std::to_string(kMaxSourceEntries) +
                              " bookmarks and folders, more than an import takes");
      return false;
    }
    nodes_.push_back(std::move(node));
    frames_.push_back({Role::kNode, nodes_.size() - 1});
    return true;
  }

  bool End() {
    if (ignored_levels_ > 0) {
      --ignored_levels_;
    } else if (!frames_.empty()) {
      frames_.pop_back();
    }
    return true;
  }

  const std::string& path_;
  std::vector<Frame> frames_;
  std::size_t ignored_levels_ = 0;  // inside a value nobody reads
  std::string key_;                 // the latest key of the object being read
  std::vector<Node> nodes_;
  bool saw_roots_ = false;
  Status status_ = Status::Ok();
};

// The name a root shows under: the stored one, but for the root the exports
// leave unnamed.
std::string RootName(const Node& root) {
  if (root.root_key == "other") return std::string(kChromiumOtherBookmarks);
  if (!root.name.empty()) return root.name;
  if (root.root_key == "bookmark_bar") return "Bookmarks bar";
  if (root.root_key == "synced") return "Mobile bookmarks";
  return root.root_key;
}

bool IsLink(const Node& node) {
  return node.type == "url" || (node.type.empty() && !node.url.empty());
}

// The links in the order of the file: every node comes after its folder.
SourceBookmarks LinksOf(const std::vector<Node>& nodes) {
  SourceBookmarks bookmarks;
  for (const Node& node : nodes) {
    if (!IsLink(node) || node.parent == kNoParent) continue;
    SourceBookmark bookmark;
    std::size_t folder = node.parent;
    for (; nodes[folder].parent != kNoParent; folder = nodes[folder].parent) {
      bookmark.folders.push_back(nodes[folder].name);
    }
    std::reverse(bookmark.folders.begin(), bookmark.folders.end());
    bookmark.root = RootName(nodes[folder]);
    bookmark.title = node.name;
    bookmark.address = node.url;
    bookmarks.push_back(std::move(bookmark));
  }
  return bookmarks;
}

}  // namespace

Result<SourceBookmarks> ReadChromiumBookmarks(const std::string& path) {
  Result<std::string> text = ReadWholeFile(path, kMaxSourceFileBytes);
  if (!text.ok()) return text.status();
  BookmarkNodeCollector collector(path);
  try {
    nlohmann::json::sax_parse(text->begin(), text->end(), &collector);
  } catch (const nlohmann::json::exception& error) {
    return Status::Error(
        path + " is not valid JSON: " + BookmarkNodeCollector::JsonErrorDetail(error.what()));
  }
  if (!collector.status().ok()) return collector.status();
  if (!collector.saw_roots()) {
    return Status::Error(path + " is not a Chromium bookmarks file: it has no \"roots\" object");
  }
  return LinksOf(collector.nodes());
}

}  // namespace qv::import
