#pragma once
// A contiguous array of trivially copyable values that grows with realloc.
// For large blocks the C library moves the pages instead of copying them, so
// the record heap of a million-row list grows in place without a second copy
// of its text being touched. std::vector cannot do that: it always allocates
// anew and copies.
//
// Only what the row store needs: append, insert and erase by index, reserve.
// Growth failures throw std::bad_alloc and leave the buffer as it was.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/MemoryHint.h"

namespace zevro {

template <class T>
class GrowBuffer {
  static_assert(std::is_trivially_copyable_v<T>);

public:
  GrowBuffer() = default;
  GrowBuffer(std::size_t count, T value) { assign(count, value); }
  GrowBuffer(const GrowBuffer& other) { assign(other.begin(), other.end()); }
  GrowBuffer(GrowBuffer&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  GrowBuffer& operator=(const GrowBuffer& other) {
    if (this != &other) {
      GrowBuffer copy(other);
      swap(copy);
    }
    return *this;
  }
  GrowBuffer& operator=(GrowBuffer&& other) noexcept {
    GrowBuffer moved(std::move(other));
    swap(moved);
    return *this;
  }
  ~GrowBuffer() { std::free(data_); }

  void swap(GrowBuffer& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

  T* data() { return data_; }
  const T* data() const { return data_; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T& front() { return data_[0]; }
  const T& front() const { return data_[0]; }
  T& back() { return data_[size_ - 1]; }
  const T& back() const { return data_[size_ - 1]; }

  // Exactly n elements of room (never less than the current size).
  void reserve(std::size_t n) {
    if (n <= capacity_) return;
    // A jump in size (a list file loaded at once) is about to be filled
    // from end to end: large pages spare thousands of page faults. Growth
    // in small steps goes without, as moving large pages by small steps
    // costs more than it saves.
    const bool jump = n >= 2 * capacity_;
    void* grown = std::realloc(data_, n * sizeof(T));
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<T*>(grown);
    capacity_ = n;
    if (jump) adviseLargeBlock(data_, n * sizeof(T));
  }

  void clear() { size_ = 0; }
  // Sets the size without writing the elements: for a caller that has just
  // written them through data() (within the reserved room).
  void resizeUninitialised(std::size_t n) {
    reserve(n);
    size_ = n;
  }
  void push_back(T value) {
    if (size_ == capacity_) reserve(std::max<std::size_t>(8, capacity_ + capacity_ / 2));
    data_[size_++] = value;
  }
  void pop_back() { --size_; }
  void resize(std::size_t n, T value = T()) {
    if (n > size_) {
      reserve(n);
      std::fill(data_ + size_, data_ + n, value);
    }
    size_ = n;
  }
  void assign(std::size_t count, T value) {
    reserve(count);
    std::fill(data_, data_ + count, value);
    size_ = count;
  }
  void assign(const T* first, const T* last) {
    const auto count = static_cast<std::size_t>(last - first);
    reserve(count);
    if (count > 0) std::memmove(data_, first, count * sizeof(T));
    size_ = count;
  }
  void append(const T* first, const T* last) {
    const auto count = static_cast<std::size_t>(last - first);
    reserve(size_ + count);
    if (count > 0) std::memcpy(data_ + size_, first, count * sizeof(T));
    size_ += count;
  }
  // Inserts count copies of value before index at.
  void insert(std::size_t at, std::size_t count, T value) {
    if (count == 0) return;
    reserve(size_ + count);
    std::memmove(data_ + at + count, data_ + at, (size_ - at) * sizeof(T));
    std::fill(data_ + at, data_ + at + count, value);
    size_ += count;
  }
  // Inserts the values [first, last) (not from this buffer) before index at.
  void insert(std::size_t at, const T* first, const T* last) {
    const auto count = static_cast<std::size_t>(last - first);
    if (count == 0) return;
    reserve(size_ + count);
    std::memmove(data_ + at + count, data_ + at, (size_ - at) * sizeof(T));
    std::memcpy(data_ + at, first, count * sizeof(T));
    size_ += count;
  }
  // Removes the elements [from, to).
  void erase(std::size_t from, std::size_t to) {
    if (from == to) return;
    std::memmove(data_ + from, data_ + to, (size_ - to) * sizeof(T));
    size_ -= to - from;
  }

private:
  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace zevro
