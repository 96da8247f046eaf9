#include "render/engine/xml_buffer.h"

#include <algorithm>
#include <charconv>
#include <cstring>

char* WriteDecimal(char* out, std::uint64_t value) {
  char digits[20];
  char* first = digits + sizeof digits;
  do {
    *--first = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  const auto count = static_cast<std::size_t>(digits + sizeof digits - first);
  std::memcpy(out, first, count);
  return out + count;
}

char* XmlBuffer::Reserve(std::size_t size) {
  if (capacity_ - size_ < size) {
    const std::size_t capacity = std::max(size_ + size, capacity_ * 2 + 4096);
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ != 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
  }
  return data_.get() + size_;
}

void XmlBuffer::Append(std::string_view text) {
  char* out = Reserve(text.size());
  if (!text.empty()) std::memcpy(out, text.data(), text.size());
  size_ += text.size();
}

void XmlBuffer::AppendNumber(std::uint64_t value) { Commit(WriteDecimal(Reserve(20), value)); }

void XmlBuffer::AppendDecimal(double value) {
  constexpr std::size_t kLongest = 32;
  char* out = Reserve(kLongest);
  Commit(std::to_chars(out, out + kLongest, value).ptr);
}

void XmlBuffer::AppendEscaped(std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': Append("&amp;"); break;
      case '<': Append("&lt;"); break;
      case '>': Append("&gt;"); break;
      case '"': Append("&quot;"); break;
      case '\'': Append("&apos;"); break;
      default:
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 || c == '\t' || c == '\n' || c == '\r') Append(std::string_view(&c, 1));
    }
  }
}
