// A value or the reason there is none. Errors are values in this code base:
// every function that can fail returns one of these, never a silent default.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace torvane {

template <class E>
struct Unexpected {
  E error;
};

template <class E>
Unexpected<E> Fail(E error) {
  return Unexpected<E>{std::move(error)};
}

inline Unexpected<std::string> Fail(const char* error) { return Unexpected<std::string>{error}; }

template <class T, class E = std::string>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  template <class F>
  Expected(Unexpected<F> failure) : state_(std::in_place_index<1>, std::move(failure.error)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  const T& value() const& { return std::get<0>(state_); }
  T& value() & { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const T& operator*() const& { return value(); }
  const T* operator->() const { return &value(); }

  const E& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, E> state_;
};

// Success with nothing to give (`return {};`), or the reason for failure.
template <class E>
class [[nodiscard]] Expected<void, E> {
 public:
  Expected() = default;
  template <class F>
  Expected(Unexpected<F> failure) : error_(std::move(failure.error)) {}

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }

  const E& error() const { return *error_; }

 private:
  std::optional<E> error_;
};

}  // namespace torvane
