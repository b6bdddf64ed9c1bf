#pragma once
// Objects kept by type for as long as their owner lives. The store knows no
// subsystem: each declares its own type and reaches it by that type; an
// object is default-constructed on first use. Purpose only tells stores of
// different uses apart, so one cannot be passed for the other.

#include <any>
#include <typeindex>
#include <unordered_map>

namespace tarvosen {

template <typename Purpose>
class TypeStore {
  public:
    template <typename T>
    T& get() {
        std::any& slot = values_[std::type_index(typeid(T))];
        if (!slot.has_value()) slot.emplace<T>();
        return *std::any_cast<T>(&slot);
    }

  private:
    // Node-based: a reference handed out stays valid as other types are added.
    std::unordered_map<std::type_index, std::any> values_;
};

}  // namespace tarvosen
