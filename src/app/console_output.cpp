#include "app/console_output.h"

#include <streambuf>
#include <string>

#include "generator/utf16.h"

namespace qv {
namespace {

// The length of `bytes` without a UTF-8 sequence cut off at its end.
std::size_t WholeCharacters(std::string_view bytes) {
  for (std::size_t back = 1; back <= 4 && back <= bytes.size(); ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if (byte < 0x80) break;
    if (byte < 0xC0) continue;  // a continuation byte: look further back
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    return length > back ? bytes.size() - back : bytes.size();
  }
  return bytes.size();
}

}  // namespace

class TextOutput::Buffer : public std::streambuf {
 public:
  explicit Buffer(std::unique_ptr<OutputDevice> device) : device_(std::move(device)) {}
  ~Buffer() override { Deliver(true); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (pending_.back() == '\n') Deliver(false);
    return c;
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    const std::string_view added(text, static_cast<std::size_t>(count));
    pending_ += added;
    if (added.find('\n') != std::string_view::npos) Deliver(false);
    return count;
  }

  int sync() override {
    Deliver(false);
    device_->Flush();
    return 0;
  }

 private:
  // Gives the device what is pending; unless `all`, a console's character
  // cut off at the end waits for its rest.
  void Deliver(bool all) {
    if (!device_->IsConsole()) {
      if (!pending_.empty()) device_->WriteBytes(pending_);
      pending_.clear();
      return;
    }
    const std::size_t whole = all ? pending_.size() : WholeCharacters(pending_);
    if (whole > 0)
      device_->WriteCharacters(Utf16FromUtf8(std::string_view(pending_).substr(0, whole)));
    pending_.erase(0, whole);
  }

  std::unique_ptr<OutputDevice> device_;
  std::string pending_;
};

TextOutput::TextOutput(std::unique_ptr<OutputDevice> device)
    : std::ostream(nullptr), buffer_(std::make_unique<Buffer>(std::move(device))) {
  rdbuf(buffer_.get());
}

TextOutput::TextOutput(StandardStream stream) : TextOutput(StandardDevice(stream)) {}

TextOutput::~TextOutput() {
  buffer_->pubsync();
}

}  // namespace qv
