#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// The text of one package part, built in memory by appending. Growing never initialises
// memory that is then overwritten, and hot loops write straight into reserved room.
class XmlBuffer {
 public:
  void Append(std::string_view text);
  void AppendNumber(std::uint64_t value);
  // The shortest decimal text that reads back as `value` (3, 0.140625, 409.5).
  void AppendDecimal(double value);
  // `text` (UTF-8) with the XML markup characters escaped and the control characters
  // that XML 1.0 cannot hold left out, fit for both element text and attribute values.
  void AppendEscaped(std::string_view text);

  // Makes room for `size` more bytes and returns where they go; after writing at most
  // that many, pass the end of what was written to Commit.
  char* Reserve(std::size_t size);
  void Commit(char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }

  std::string_view view() const { return {data_.get(), size_}; }
  std::size_t size() const { return size_; }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Writes `value` in decimal at `out` and returns the end; at most 20 characters.
char* WriteDecimal(char* out, std::uint64_t value);
