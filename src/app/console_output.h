// What the console programs print, in the terms of where it goes: a console
// window shows characters and is given them (as UTF-16 on Windows), a file or
// a pipe is given the bytes of the UTF-8 text. So a path outside the code page
// reads as itself in a console, and a pipe gets UTF-8.
#pragma once

#include <memory>
#include <ostream>
#include <string_view>

namespace qv {

// Where printed text goes.
class OutputDevice {
 public:
  virtual ~OutputDevice() = default;
  // True for a console window, which is given characters.
  virtual bool IsConsole() const = 0;
  virtual void WriteCharacters(std::u16string_view text) = 0;
  // Anything else is given bytes as they are.
  virtual void WriteBytes(std::string_view bytes) = 0;
  // Passes on what the device holds back.
  virtual void Flush() = 0;
};

enum class StandardStream { kOutput, kError };

// The process's standard output or error. One implementation per platform:
// console_output_posix.cpp gives the bytes to the C library's stream, as a
// terminal takes them; console_output_win.cpp writes to a console window
// through WriteConsoleW, and anything else the bytes through the C library.
std::unique_ptr<OutputDevice> StandardDevice(StandardStream stream);

// An output stream of UTF-8 text to a device. A console is given the text's
// characters: a character whose bytes come in two writes waits for the rest,
// and bytes that are no UTF-8 show as U+FFFD. Anything else is given the
// bytes unchanged. The text reaches the device at each line end, at each
// flush and when the stream goes.
class TextOutput : public std::ostream {
 public:
  explicit TextOutput(std::unique_ptr<OutputDevice> device);
  explicit TextOutput(StandardStream stream);
  ~TextOutput() override;
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;

 private:
  class Buffer;
  std::unique_ptr<Buffer> buffer_;
};

}  // namespace qv
