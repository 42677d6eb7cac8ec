// How a bookmarks file ends, judged from its last tags: whether a file whose
// outermost list was left open ends as a whole file does, or was cut off.
#pragma once

#include <string_view>

namespace qv::import {

// True when the file ends in a tag; blanks, zero bytes and the old
// end-of-file mark (Ctrl-Z) after it do not count.
bool EndsWithTag(std::string_view html);

// True when the last tag (the same characters after it aside) ends the
// document or a whole entry of a list: </HTML>; </A> of a link or </DT> of
// an item; </DL> of a folder's list, which one <P> may follow. A file cut
// inside an entry, or right after a list or a folder heading opened, ends
// otherwise.
bool EndsAfterWholeEntry(std::string_view html);

}  // namespace qv::import
