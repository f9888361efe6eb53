// Bounds-checked little-endian cursor over a byte range. The first read past the end (or past
// the current limit) fails the cursor for good: every later read returns zeros and the caller
// checks `Ok()` once after a group of reads.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace skerrow {

static_assert(std::endian::native == std::endian::little);

class ByteReader {
 public:
  ByteReader() = default;
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size), limit_(size) {}

  bool Ok() const { return !failed_; }
  bool Failed() const { return failed_; }
  size_t Position() const { return pos_; }
  size_t Size() const { return size_; }
  // End of the readable window (the whole range unless SetLimit narrowed it).
  size_t Limit() const { return limit_; }
  size_t Remaining() const { return failed_ || pos_ >= limit_ ? 0 : limit_ - pos_; }
  const uint8_t* Data() const { return data_; }

  // Narrows reads to [.., end); an end beyond the range fails the cursor.
  void SetLimit(size_t end) {
    if (end > size_) {
      failed_ = true;
      return;
    }
    limit_ = end;
  }
  void Seek(size_t pos) {
    if (failed_ || pos > limit_) {
      failed_ = true;
      return;
    }
    pos_ = pos;
  }
  void Skip(size_t n) {
    if (!Take(n)) return;
    pos_ += n;
  }
  // Copies n bytes out; on a short read `out` is zero-filled and the cursor fails.
  bool Bytes(void* out, size_t n) {
    if (!Take(n)) {
      if (n) std::memset(out, 0, n);
      return false;
    }
    if (n) std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
  }
  uint8_t U8() { return Get<uint8_t>(); }
  uint16_t U16() { return Get<uint16_t>(); }
  int16_t I16() { return Get<int16_t>(); }
  uint32_t U32() { return Get<uint32_t>(); }
  int32_t I32() { return Get<int32_t>(); }
  float F32() { return Get<float>(); }

  // Zero-terminated string. At most maxKeep characters are kept; longer strings are cut there
  // but consumed up to their terminator. A string that runs to the limit without a terminator
  // fails the cursor and returns what was there (cut to maxKeep).
  std::string CString(size_t maxKeep = 255) {
    std::string s;
    if (failed_) return s;
    size_t p = pos_;
    while (p < limit_ && data_[p] != 0) ++p;
    size_t len = p - pos_;
    s.assign(reinterpret_cast<const char*>(data_ + pos_), len < maxKeep ? len : maxKeep);
    if (p >= limit_) {
      pos_ = limit_;
      failed_ = true;
      return s;
    }
    pos_ = p + 1;
    return s;
  }

 private:
  bool Take(size_t n) {
    if (failed_ || pos_ > limit_ || n > limit_ - pos_) {
      failed_ = true;
      return false;
    }
    return true;
  }
  template <typename T>
  T Get() {
    T v{};
    Bytes(&v, sizeof v);
    return v;
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t limit_ = 0;
  size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace skerrow
