// How a bookmarks file ends, judged from its last tags: whether a file whose
// outermost list was left open ends as a whole file does, or was cut off.
#pragma once

#include <string_view>

namespace qv::import {

// True when the file ends in a tag; blanks, zero bytes and the old
// end-of-file mark (Ctrl-Z) after it do not count.
bool EndsWithTag(std::string_view html);

// True when the last tag ends the document (</HTML>, the same characters
// after it aside), or a whole entry of a list and its line: </A> of a link,
// </DT> of an item, </DL> of a folder's list or that followed by <P>, then a
// line end, and nothing after it but more line ends, zero bytes and Ctrl-Z.
// A file cut inside an entry, right after a list or a folder heading opened,
// or inside the indent of the next line ends otherwise.
bool EndsAfterWholeEntry(std::string_view html);

}  // namespace qv::import
