// Where the program's texts, UTF-8 on every platform, meet the platform's own
// text forms. One implementation per platform (text_encoding_posix.cpp,
// text_encoding_win.cpp).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// True where text files written by older versions of the program, or by an
// editor, may hold text in the system's ANSI code page instead of UTF-8
// (Windows); elsewhere a file's bytes are its text.
bool HasAnsiCodePage();

// `bytes`, a text in the ANSI code page, as UTF-8. Without such a code page
// the bytes are returned unchanged.
std::string Utf8FromAnsi(std::string_view bytes);

// `path` as the standard library's path, naming the file that the file-system
// seam names by the same text: on Windows the UTF-8 text becomes UTF-16 (the
// library would take a narrow text for the code page); elsewhere the bytes
// stay as they are.
std::filesystem::path NativePath(std::string_view path);

// The text of `path`: the inverse of NativePath.
std::string PathText(const std::filesystem::path& path);

}  // namespace qv
