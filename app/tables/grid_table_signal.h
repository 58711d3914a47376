// A small list of callbacks that editors and views connect to a model object
// to hear about its changes. Plain std::function, no toolkit: the model stays
// free of widgets, and the window layer adapts these to its own signals.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace kestra {

template <typename... Args>
class TSignal {
 public:
  using Slot = std::function<void(Args...)>;

  /// Adds `slot`; returns a key for Disconnect (never 0).
  int Connect(Slot slot) {
    slots_.emplace_back(++last_key_, std::move(slot));
    return last_key_;
  }
  /// Removes the slot of `key`; an unknown key is ignored.
  void Disconnect(int key) {
    std::erase_if(slots_, [key](const auto& s) { return s.first == key; });
  }
  /// Calls every slot in connection order. Slots may connect or disconnect
  /// while being called: the call works on a copy of the list.
  void Emit(Args... args) const {
    const auto slots = slots_;
    for (const auto& s : slots) {
      if (s.second) s.second(args...);
    }
  }
  bool Empty() const { return slots_.empty(); }

 private:
  std::vector<std::pair<int, Slot>> slots_;
  int last_key_ = 0;
};

}  // namespace kestra
