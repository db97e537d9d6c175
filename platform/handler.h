#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace winscout {

// What an event calls: a lambda that captures a few pointers or references
// (`this`, mostly), kept in place and copied as its bytes. Unlike
// std::function it never allocates, and carries no code to copy or destroy
// what it holds: in a program made of many small handlers, that code was
// most of what std::function cost.
template <typename Signature>
class Handler;

template <typename Result, typename... Args>
class Handler<Result(Args...)> {
  static constexpr std::size_t kCapacity = 3 * sizeof(void*);

 public:
  Handler() = default;
  template <typename Callable>
  requires(!std::is_same_v<Callable, Handler> && std::is_trivially_copyable_v<Callable> &&
           std::is_trivially_destructible_v<Callable> && sizeof(Callable) <= kCapacity &&
           alignof(Callable) <= alignof(void*) &&
           std::is_invocable_r_v<Result, const Callable&, Args...>)
      Handler(Callable callable)
      : call_(&Call<Callable>) {
    ::new (static_cast<void*>(storage_)) Callable(callable);
  }

  explicit operator bool() const { return call_ != nullptr; }
  Result operator()(Args... args) const {
    return call_(storage_, std::forward<Args>(args)...);
  }

 private:
  template <typename Callable>
  static Result Call(const unsigned char* storage, Args... args) {
    return (*std::launder(reinterpret_cast<const Callable*>(storage)))(
        std::forward<Args>(args)...);
  }

  alignas(void*) unsigned char storage_[kCapacity] = {};
  Result (*call_)(const unsigned char*, Args...) = nullptr;
};

// Most events carry nothing.
using EventHandler = Handler<void()>;

}  // namespace winscout
