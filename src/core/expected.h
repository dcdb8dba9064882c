// One way to say that something could not be done: a value, or a refusal in the words the user
// reads. Callers test it as a bool, take the value with * or ->, and the words with Error().
#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace dieprofile {

// Why something was refused, as a sentence or a phrase for the user ("Dies must be a number.").
struct Refusal {
    std::string Message;
    bool operator==(const Refusal&) const = default;
};

template <typename T, typename E = Refusal> class [[nodiscard]] Expected {
    static_assert(!std::is_same_v<T, E>, "a value and its refusal must be told apart");

public:
    // Implicit, so that a function returns either its value or its refusal as it is.
    Expected(T value) : held_(std::in_place_index<0>, std::move(value)) {}
    Expected(E refusal) : held_(std::in_place_index<1>, std::move(refusal)) {}

    bool HasValue() const { return held_.index() == 0; }
    explicit operator bool() const { return HasValue(); }

    T& operator*() & { return std::get<0>(held_); }
    const T& operator*() const& { return std::get<0>(held_); }
    T&& operator*() && { return std::get<0>(std::move(held_)); }
    T* operator->() { return &std::get<0>(held_); }
    const T* operator->() const { return &std::get<0>(held_); }

    const E& Error() const& { return std::get<1>(held_); }
    E&& Error() && { return std::get<1>(std::move(held_)); }

    bool operator==(const Expected&) const = default;

private:
    std::variant<T, E> held_;
};

} // namespace dieprofile
