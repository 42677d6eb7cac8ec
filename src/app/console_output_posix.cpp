// Off Windows a terminal takes the bytes of UTF-8 text as they are, so every
// stream is given bytes, through the C library's stream as before: what is
// printed is the same byte for byte, and buffered as the C library buffers it.
#include <cstdio>

#include "app/console_output.h"

namespace qv {
namespace {

class CStream : public OutputDevice {
 public:
  explicit CStream(std::FILE* stream) : stream_(stream) {}
  bool IsConsole() const override { return false; }
  void WriteCharacters(std::u16string_view) override {}
  void WriteBytes(std::string_view bytes) override {
    std::fwrite(bytes.data(), 1, bytes.size(), stream_);
  }
  void Flush() override { std::fflush(stream_); }

 private:
  std::FILE* stream_;
};

}  // namespace

std::unique_ptr<OutputDevice> StandardDevice(StandardStream stream) {
  return std::make_unique<CStream>(stream == StandardStream::kOutput ? stdout : stderr);
}

}  // namespace qv
