// TextArray: texts in one or more dimensions, members in flat row-major order, 1-based
// subscripts; and the shape operations on it.
#pragma once

#include <initializer_list>
#include <vector>

#include "text/text.h"

namespace corvane {

class TextArray {
 public:
  // A fresh array: one dimension of size 0, no members.
  TextArray() = default;

  [[nodiscard]] const std::vector<int>& dimensions() const { return sizes_; }

  // One flat subscript (always allowed), or one subscript per dimension. A count of
  // subscripts that is neither stops the program with run-time error 3; a subscript outside
  // its dimension stops it with run-time error 1.
  [[nodiscard]] Text& operator()(int flat);
  [[nodiscard]] const Text& operator()(int flat) const;
  [[nodiscard]] Text& operator()(int row, int column);
  [[nodiscard]] const Text& operator()(int row, int column) const;
  [[nodiscard]] Text& at(std::initializer_list<int> subscripts);
  [[nodiscard]] const Text& at(std::initializer_list<int> subscripts) const;

  // The members in flat order.
  [[nodiscard]] const std::vector<Text>& members() const { return members_; }

 private:
  friend void redimArray(TextArray& array, std::initializer_list<int> sizes);
  friend void appendMember(TextArray& array, const Text& text);
  friend void appendMember(TextArray& array, Text&& text);

  [[nodiscard]] int flatIndex(std::initializer_list<int> subscripts) const;

  std::vector<int> sizes_{0};
  std::vector<Text> members_;
};

// The product of the dimension sizes.
[[nodiscard]] int memberCount(const TextArray& array);

// Gives the array new dimensions; members keep their flat positions, those past the new count
// are dropped and new ones are missing texts. Sizes out of range (below 1 when two or more are
// given, below 0 when one is) stop the program with run-time error 10.
void redimArray(TextArray& array, std::initializer_list<int> sizes);

// Makes the array one-dimensional with a copy of `text` as one more member at the end.
void appendMember(TextArray& array, const Text& text);
void appendMember(TextArray& array, Text&& text);

}  // namespace corvane
