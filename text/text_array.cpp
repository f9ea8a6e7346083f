#include "text/text_array.h"

#include <climits>
#include <cstdint>

#include "text/runtime_error.h"

namespace corvane {

namespace {

constexpr int kSubscriptOutOfRange = 1;
constexpr int kWrongSubscriptCount = 3;
constexpr int kBadRedimSizes = 10;

}  // namespace

int TextArray::flatIndex(std::initializer_list<int> subscripts) const {
  if (subscripts.size() == 1) {
    const int flat = *subscripts.begin();
    if (flat < 1 || flat > static_cast<int>(members_.size())) reportRuntimeError(kSubscriptOutOfRange);
    return flat - 1;
  }
  if (subscripts.size() != sizes_.size()) reportRuntimeError(kWrongSubscriptCount);
  // Row-major: the last subscript varies fastest.
  std::int64_t index = 0;
  auto size = sizes_.begin();
  for (const int subscript : subscripts) {
    if (subscript < 1 || subscript > *size) reportRuntimeError(kSubscriptOutOfRange);
    index = index * *size + (subscript - 1);
    ++size;
  }
  return static_cast<int>(index);
}

Text& TextArray::operator()(int flat) { return members_[static_cast<std::size_t>(flatIndex({flat}))]; }

const Text& TextArray::operator()(int flat) const {
  return members_[static_cast<std::size_t>(flatIndex({flat}))];
}

Text& TextArray::operator()(int row, int column) {
  return members_[static_cast<std::size_t>(flatIndex({row, column}))];
}

const Text& TextArray::operator()(int row, int column) const {
  return members_[static_cast<std::size_t>(flatIndex({row, column}))];
}

Text& TextArray::at(std::initializer_list<int> subscripts) {
  return members_[static_cast<std::size_t>(flatIndex(subscripts))];
}

const Text& TextArray::at(std::initializer_list<int> subscripts) const {
  return members_[static_cast<std::size_t>(flatIndex(subscripts))];
}

int memberCount(const TextArray& array) { return static_cast<int>(array.members().size()); }

void redimArray(TextArray& array, std::initializer_list<int> sizes) {
  if (sizes.size() == 0) reportRuntimeError(kBadRedimSizes);
  const int lowest = sizes.size() == 1 ? 0 : 1;
  std::int64_t count = 1;
  for (const int size : sizes) {
    if (size < lowest) reportRuntimeError(kBadRedimSizes);
    count *= size;
    // A member count past what a 32-bit count can hold is as impossible as a negative size.
    if (count > INT_MAX) reportRuntimeError(kBadRedimSizes);
  }
  array.sizes_.assign(sizes);
  // resize keeps the first members in place and grows the storage geometrically, so regrowing
  // a table row by row costs amortised constant time per row.
  array.members_.resize(static_cast<std::size_t>(count));
}

void appendMember(TextArray& array, const Text& text) { appendMember(array, Text(text)); }

void appendMember(TextArray& array, Text&& text) {
  array.members_.push_back(std::move(text));
  array.sizes_.assign({static_cast<int>(array.members_.size())});
}

}  // namespace corvane
