#pragma once

#include <iterator>
#include <memory>
#include <type_traits>

namespace orvela {

namespace nested_list_detail {

template <typename T>
struct IsUniquePtr : std::false_type {};
template <typename T, typename D>
struct IsUniquePtr<std::unique_ptr<T, D>> : std::true_type {};

template <typename T>
concept List = requires(T& t) {
  std::begin(t);
  std::end(t);
};

}  // namespace nested_list_detail

// Frees every owned item of `list`, first emptying the items that are lists themselves, but
// keeps the slots: afterwards the list has its old size and holds only empty pointers. The
// caller clears or drops the list. Nested lists are recognised by their type: an item that is
// a container, or a unique_ptr to one.
template <nested_list_detail::List L>
void FreeNestedList(L& list) {
  for (auto& item : list) {
    using Item = std::remove_cvref_t<decltype(item)>;
    if constexpr (nested_list_detail::IsUniquePtr<Item>::value) {
      if (!item) continue;
      if constexpr (nested_list_detail::List<typename Item::element_type>) {
        FreeNestedList(*item);
      }
      item.reset();
    } else if constexpr (nested_list_detail::List<Item>) {
      FreeNestedList(item);
    }
  }
}

}  // namespace orvela
