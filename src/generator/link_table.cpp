#include "generator/link_table.h"

#include <array>
#include <vector>

#include "generator/side_files.h"
#include "generator/text.h"
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

std::string AnchorOpen(std::string_view address) {
  return R"(<a href=")" + EscapeHtml(address) + R"(">)";
}

std::string OptionEntry(int number, std::string_view escaped_name) {
  return R"(<option value="#)" + std::to_string(number) +
         R"("><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)" +
         std::string(escaped_name) + "</font></option>";
}

// Writes the table rows and numbers the category headers, collecting the jump
// list entries as it goes.
class RowWriter {
 public:
  explicit RowWriter(LineWriter& out) : out_(out) {}

  void WriteRow(const LinkGrid::Row& row) {
    out_.WriteLine(kRowOpen);
    for (int c = 0; c < kPageColumnCount; ++c) {
      if (c > 0) out_.WriteLine(kColumnSeparators[c - 1]);
      WriteCell(kCellLines[c], row[c], row[c + kPageColumnCount]);
    }
    out_.WriteLine(kRowClose);
  }

  const std::vector<std::string>& option_entries() const { return option_entries_; }

 private:
  void WriteCell(const CellLines& lines, const std::string& caption, const std::string& address) {
    if (caption.empty()) {
      out_.WriteLine(lines.empty_narrow);
      out_.WriteLine(lines.empty_wide);
    } else if (caption.front() == kHeaderMark) {
      WriteHeader(lines, EscapeHtml(std::string_view(caption).substr(1)));
    } else {
      WriteLink(lines, EscapeHtml(caption), address);
    }
  }

  void WriteHeader(const CellLines& lines, const std::string& name) {
    const int number = ++category_number_;
    out_.WriteLine(lines.header_narrow);
    out_.WriteLine(lines.header_wide);
    out_.WriteLine(name);
    out_.WriteLine(R"(<a name=")" + std::to_string(number) + R"("></a></font></b></td>)");
    option_entries_.push_back(OptionEntry(number, name));
  }

  void WriteLink(const CellLines& lines, const std::string& caption, const std::string& address) {
    out_.WriteLine(lines.link_narrow);
    if (lines.anchor_on_own_line) {
      out_.WriteLine(lines.link_wide);
      out_.WriteLine(AnchorOpen(address));
    } else {
      out_.WriteLine(std::string(lines.link_wide) + AnchorOpen(address));
    }
    out_.WriteLine(caption);
    out_.WriteLine(lines.link_close);
  }

  LineWriter& out_;
  int category_number_ = 0;
  std::vector<std::string> option_entries_;
};

// The jump list as "option.txt" holds it: an empty first line, then one entry
// per category header.
void WriteJumpList(LineWriter& out, const std::vector<std::string>& entries) {
  out.WriteLine("");
  for (const std::string& entry : entries) out.WriteLine(entry);
}

// A missing template counts as empty; one that breaks off while read would
// leave the page without its end, which is a failure.
Status CopyTemplate(const std::string& path, LineWriter& out) {
  LineReader reader(path, kLongestTextLine, FileText::kUtf8OrAnsi);
  std::string line;
  while (reader.Next(line)) out.WriteLine(line);
  return reader.read_status();
}

Status CopyFooter(const std::string& path, const std::vector<std::string>& entries,
                  LineWriter& out) {
  LineReader reader(path, kLongestTextLine, FileText::kUtf8OrAnsi);
  std::string line;
  while (reader.Next(line)) {
    // The whole marker line, text around the marker included, gives way to
    // the jump list.
    if (line.find(kOptionMarker) != std::string::npos) {
      WriteJumpList(out, entries);
    } else {
      out.WriteLine(line);
    }
  }
  return reader.read_status();
}

}  // namespace

Status WriteLinkTable(const LinkGrid& grid, const TemplatePaths& templates, WritableFile& page,
                      WritableFile& jump_list) {
  LineWriter page_lines(page);
  const Status header_status = CopyTemplate(templates.header, page_lines);
  if (!header_status.ok()) return header_status;

  RowWriter rows(page_lines);
  for (const LinkGrid::Row& row : grid.rows()) rows.WriteRow(row);

  LineWriter jump_list_lines(jump_list);
  WriteJumpList(jump_list_lines, rows.option_entries());
  const Status jump_list_status = jump_list_lines.Flush();

  const Status footer_status = CopyFooter(templates.footer, rows.option_entries(), page_lines);
  if (!footer_status.ok()) return footer_status;
  const Status page_status = page_lines.Flush();
  return page_status.ok() ? jump_list_status : page_status;
}

}  // namespace qv
