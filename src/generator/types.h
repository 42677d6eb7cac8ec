// The tables the generation run's stages hand to each other.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

// Ten language text slots; slots 1 to 9 hold the first nine lines of the
// language file, slot 0 stays empty.
inline constexpr int kLanguageLineCount = 10;
using LanguageLines = std::array<std::string, kLanguageLineCount>;

// Page columns A (left), B (middle) and C (right).
enum class PageColumn { A = 0, B = 1, C = 2 };
inline constexpr int kPageColumnCount = 3;

// The table that carries the catalogue to the link table writer: six text
// columns, rows from 0. Page column c uses caption column c and address
// column c + 3. A caption beginning with ";" is a category header.
class LinkGrid {
 public:
  static constexpr int kColumnCount = 6;
  using Row = std::array<std::string, kColumnCount>;

  // Adds one empty row at the bottom.
  void AddRow() { rows_.emplace_back(); }
  // Makes room for `rows` rows at once, so that a growing grid never holds
  // two copies of its rows.
  void Reserve(std::size_t rows) { rows_.reserve(rows); }
  // Highest row in use, -1 when there is none.
  int MaxRow() const { return static_cast<int>(rows_.size()) - 1; }
  void SetCell(int row, int column, std::string text) { rows_[row][column] = std::move(text); }
  const std::vector<Row>& rows() const { return rows_; }

 private:
  std::vector<Row> rows_;
};

// The files of one category folder as the scan found them: each file's name
// and the address it holds (empty when it holds none or cannot be read). They
// are packed into one text, so that between the scan and the link collection
// they take hardly more room than the names alone would in strings of their
// own.
class CategoryFiles {
 public:
  void Add(std::string_view name, std::string_view address) {
    text_.append(name);
    ends_.push_back(text_.size());
    text_.append(address);
    ends_.push_back(text_.size());
  }
  // Gives back the room kept for more files, once all are in.
  void Seal() {
    text_.shrink_to_fit();
    ends_.shrink_to_fit();
  }

  std::size_t size() const { return ends_.size() / 2; }
  std::string_view Name(std::size_t file) const { return Piece(2 * file); }
  std::string_view Address(std::size_t file) const { return Piece(2 * file + 1); }

 private:
  std::string_view Piece(std::size_t piece) const {
    const std::size_t start = piece == 0 ? 0 : ends_[piece - 1];
    return std::string_view(text_).substr(start, ends_[piece] - start);
  }

  std::string text_;               // name, address, name, address, ...
  std::vector<std::size_t> ends_;  // where each name and address ends in text_
};

// The category folder names of the three page columns, each list kept in
// name order, and the running weights that balance the columns; both indexed
// by page column.
struct ColumnLists {
  std::array<std::vector<std::string>, kPageColumnCount> lists;
  std::array<long long, kPageColumnCount> weights{};
  // The visible files of each category folder as the scan counted and read
  // them, so that the link collection turns exactly those into links without
  // listing a folder or opening a file a second time.
  std::unordered_map<std::string, CategoryFiles> category_files;

  std::vector<std::string>& List(PageColumn column) { return lists[static_cast<int>(column)]; }
  long long& Weight(PageColumn column) { return weights[static_cast<int>(column)]; }
};

// A calendar date, for the update line of the page.
struct CalendarDate {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
};

}  // namespace qv
