// On Windows a console window shows what it is given as UTF-16 characters
// (WriteConsoleW), whatever its code page; bytes written to it would be read
// in that code page, which turns UTF-8 into other characters. A file or a
// pipe is given the UTF-8 bytes through the C library, which ends lines in
// CR LF there as Windows programs do.
#include "generator/windows_api.h"

#include <algorithm>
#include <cstdio>

#include "app/console_output.h"

namespace qv {
namespace {

class StandardHandle : public OutputDevice {
 public:
  StandardHandle(DWORD which, std::FILE* stream)
      : handle_(GetStdHandle(which)), stream_(stream), console_(IsConsoleHandle(handle_)) {}

  bool IsConsole() const override { return console_; }

  void WriteCharacters(std::u16string_view text) override {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows keeps wide texts in UTF-16");
    const auto* characters = reinterpret_cast<const wchar_t*>(text.data());
    // A console takes a limited piece at a time.
    constexpr std::size_t kPiece = 8192;
    for (std::size_t done = 0; done < text.size();) {
      const DWORD count = static_cast<DWORD>(std::min(kPiece, text.size() - done));
      DWORD written = 0;
      if (!WriteConsoleW(handle_, characters + done, count, &written, nullptr) || written == 0) {
        return;
      }
      done += written;
    }
  }

  void WriteBytes(std::string_view bytes) override {
    std::fwrite(bytes.data(), 1, bytes.size(), stream_);
  }

  void Flush() override {
    if (!console_) std::fflush(stream_);
  }

 private:
  static bool IsConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
  }

  HANDLE handle_;
  std::FILE* stream_;
  bool console_;
};

}  // namespace

std::unique_ptr<OutputDevice> StandardDevice(StandardStream stream) {
  if (stream == StandardStream::kOutput) {
    return std::make_unique<StandardHandle>(STD_OUTPUT_HANDLE, stdout);
  }
  return std::make_unique<StandardHandle>(STD_ERROR_HANDLE, stderr);
}

}  // namespace qv
