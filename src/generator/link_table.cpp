#include "generator/link_table.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "generator/side_files.h"
#include "generator/text.h"
#include "generator/text_encoding.h"
#include "generator/text_file.h"

namespace qv {
namespace {

// The fixed lines of one page column's cells. The columns differ on purpose
// (alignment, spacing, widths, where the anchor opens), and every difference
// shows in the page.
struct CellLines {
  std::string_view header_narrow;
  std::string_view header_wide;  // the category name follows on a line of its own
  std::string_view link_narrow;
  std::string_view link_wide;
  bool anchor_on_own_line;  // else the anchor opens at the end of link_wide
  std::string_view link_close;
  std::string_view empty_narrow;
  std::string_view empty_wide;
};

constexpr std::array<CellLines, kPageColumnCount> kCellLines = {{
    {
        R"(<td width="1%" bgcolor="#003399" valign="top">&nbsp;</td>)",
        R"(<td width="31%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans - serif" size="2">)",
        R"(<td width="1%" bgcolor="#FFCC99" valign="top"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
        R"(<td width="31%" bgcolor="#FFCC99"><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
        true,
        R"(</a> </font></td>)",
        R"(<td width="1%" height="19" valign="top">&nbsp;</td>)",
        R"(<td width="31%" height="19"></td>)",
    },
    {
        R"(<td width="1%" bgcolor="#003399"></td>)",
        R"(<td width="31%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
        R"(<td width="1%" bgcolor="#FFCC99"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
        R"(<td width="31%" bgcolor="#FFCC99"><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
        false,
        R"(</a></font></td>)",
        R"(<td width="1%"></td>)",
        R"(<td width="31%"></td>)",
    },
    {
        R"(<td width="1%" bgcolor="#003399"></td>)",
        R"(<td width="33%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
        R"(<td width="1%" bgcolor="#FFCC99"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
        R"(<td width="33%" bgcolor="#FFCC99"><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
        false,
        R"(</a></font></td>)",
        R"(<td width="1%"></td>)",
        R"(<td width="33%"></td>)",
    },
}};

constexpr std::string_view kRowOpen = R"( <tr valign="top"> )";
constexpr std::array<std::string_view, kPageColumnCount - 1> kColumnSeparators = {
    R"(<td width="1">&nbsp;</td>)", R"(<td width="1%">&nbsp;</td>)"};
constexpr std::string_view kRowClose = "</tr>";

constexpr char kHeaderMark = ';';

constexpr std::string_view kAnchorStart = R"(<a href=")";
constexpr std::string_view kAnchorEnd = R"(">)";

// One page column's fixed cell lines as the merge leaves them for this
// page's colours. They are the same in every row, so each is merged once;
// the lines that carry names and addresses need no merge at all.
struct MergedCellLines {
  MergedCellLines(const CellLines& lines, const MergeSources& sources)
      : header_narrow(Merged(lines.header_narrow, sources)),
        header_wide(Merged(lines.header_wide, sources)),
        link_narrow(Merged(lines.link_narrow, sources)),
        link_wide(Merged(lines.link_wide, sources)),
        anchor_on_own_line(lines.anchor_on_own_line),
        link_close(Merged(lines.link_close, sources)),
        empty_narrow(Merged(lines.empty_narrow, sources)),
        empty_wide(Merged(lines.empty_wide, sources)) {}

  static std::string Merged(std::string_view line, const MergeSources& sources) {
    return MergeLine(std::string(line), sources);
  }

  std::string header_narrow, header_wide, link_narrow, link_wide;
  bool anchor_on_own_line;
  std::string link_close, empty_narrow, empty_wide;
};

std::string OptionEntry(int number, std::string_view escaped_name) {
  return R"(<option value="#)" + std::to_string(number) +
         R"("><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)" +
         std::string(escaped_name) + "</font></option>";
}

// Writes the table rows and numbers the category headers, collecting the jump
// list entries as it goes.
class RowWriter {
 public:
  RowWriter(LineWriter& out, const MergeSources& sources)
      : out_(out),
        row_open_(MergedCellLines::Merged(kRowOpen, sources)),
        row_close_(MergedCellLines::Merged(kRowClose, sources)) {
    for (int c = 0; c < kPageColumnCount; ++c) cells_.emplace_back(kCellLines[c], sources);
    for (std::string_view separator : kColumnSeparators) {
      separators_.push_back(MergedCellLines::Merged(separator, sources));
    }
  }

  void WriteRow(const LinkGrid::Row& row) {
    out_.WriteLine(row_open_);
    for (int c = 0; c < kPageColumnCount; ++c) {
      if (c > 0) out_.WriteLine(separators_[c - 1]);
      WriteCell(cells_[c], row[c], row[c + kPageColumnCount]);
    }
    out_.WriteLine(row_close_);
  }

  const std::vector<std::string>& option_entries() const { return option_entries_; }

 private:
  void WriteCell(const MergedCellLines& lines, const std::string& caption,
                 const std::string& address) {
    if (caption.empty()) {
      out_.WriteLine(lines.empty_narrow);
      out_.WriteLine(lines.empty_wide);
    } else if (caption.front() == kHeaderMark) {
      WriteHeader(lines, std::string_view(caption).substr(1));
    } else {
      WriteLink(lines, caption, address);
    }
  }

  void WriteHeader(const MergedCellLines& lines, std::string_view name) {
    const int number = ++category_number_;
    out_.WriteLine(lines.header_narrow);
    out_.WriteLine(lines.header_wide);
    const std::string& escaped_name = Escaped(name);
    out_.WriteLine(escaped_name);
    const std::string number_text = std::to_string(number);
    out_.WriteLine({R"(<a name=")", number_text, R"("></a></font></b></td>)"});
    option_entries_.push_back(OptionEntry(number, escaped_name));
  }

  void WriteLink(const MergedCellLines& lines, std::string_view caption, std::string_view address) {
    out_.WriteLine(lines.link_narrow);
    if (lines.anchor_on_own_line) {
      out_.WriteLine(lines.link_wide);
      out_.WriteLine({kAnchorStart, Escaped(address), kAnchorEnd});
    } else {
      out_.WriteLine({lines.link_wide, kAnchorStart, Escaped(address), kAnchorEnd});
    }
    out_.WriteLine(Escaped(caption));
    out_.WriteLine(lines.link_close);
  }

  // `text` escaped, in a buffer used again for the next text.
  const std::string& Escaped(std::string_view text) {
    escaped_.clear();
    AppendEscapedHtml(text, escaped_);
    return escaped_;
  }

  LineWriter& out_;
  std::string row_open_, row_close_;
  std::vector<MergedCellLines> cells_;
  std::vector<std::string> separators_;
  std::string escaped_;
  int category_number_ = 0;
  std::vector<std::string> option_entries_;
};

// The jump list as "option.txt" holds it: an empty first line, then one entry
// per category header.
void WriteJumpList(LineWriter& out, const std::vector<std::string>& entries) {
  out.WriteLine("");
  for (const std::string& entry : entries) out.WriteLine(entry);
}

// True when nothing at all stands at `path`, not even a dangling link: only
// then may a template that does not open count as empty.
bool NothingAt(const std::string& path) {
  std::error_code error;
  return std::filesystem::symlink_status(NativePath(path), error).type() ==
         std::filesystem::file_type::not_found;
}

// A missing template counts as empty. One that is there but does not open (a
// folder, no permission) or breaks off while read would give a page without
// its head or its end over the one before, so either is a failure.
Status TemplateStatus(const LineReader& reader, const std::string& path) {
  if (!reader.is_open() && !NothingAt(path)) return reader.open_status();
  return reader.read_status();
}

Status CopyTemplate(const std::string& path, const MergeSources& sources, LineWriter& out) {
  LineReader reader(path, kLongestTextLine, FileText::kUtf8OrAnsi);
  std::string line;
  while (reader.Next(line)) out.WriteLine(MergeLine(std::move(line), sources));
  return TemplateStatus(reader, path);
}

Status CopyFooter(const std::string& path, const MergeSources& sources,
                  const std::vector<std::string>& entries, LineWriter& out) {
  LineReader reader(path, kLongestTextLine, FileText::kUtf8OrAnsi);
  std::string line;
  while (reader.Next(line)) {
    // The whole marker line, text around the marker included, gives way to
    // the jump list, whose names are escaped like those in the table.
    if (line.find(kOptionMarker) != std::string::npos) {
      WriteJumpList(out, entries);
    } else {
      out.WriteLine(MergeLine(std::move(line), sources));
    }
  }
  return TemplateStatus(reader, path);
}

}  // namespace

Status WriteLinkTable(const LinkGrid& grid, const TemplatePaths& templates,
                      const MergeSources& sources, WritableFile& page, WritableFile& jump_list) {
  LineWriter page_lines(page);
  const Status header_status = CopyTemplate(templates.header, sources, page_lines);
  if (!header_status.ok()) return header_status;

  RowWriter rows(page_lines, sources);
  for (const LinkGrid::Row& row : grid.rows()) rows.WriteRow(row);

  LineWriter jump_list_lines(jump_list);
  WriteJumpList(jump_list_lines, rows.option_entries());
  const Status jump_list_status = jump_list_lines.Flush();

  const Status footer_status =
      CopyFooter(templates.footer, sources, rows.option_entries(), page_lines);
  if (!footer_status.ok()) return footer_status;
  const Status page_status = page_lines.Flush();
  return page_status.ok() ? jump_list_status : page_status;
}

}  // namespace qv
