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

// What a step that gives nothing back returns when it went well: `return Done{};` reads as a
// success at the return, where an empty optional message read as one only by convention.
struct Done {};

// Something done that gives nothing back: done, or refused with its words.
template <typename E> class [[nodiscard]] Expected<void, E> {
public:
    Expected(Done) {}
    Expected(E refusal) : refusal_(std::move(refusal)), refused_(true) {}

    bool HasValue() const { return !refused_; }
    explicit operator bool() const { return HasValue(); }

    const E& Error() const& { return refusal_; }
    E&& Error() && { return std::move(refusal_); }

    bool operator==(const Expected&) const = default;

private:
    E refusal_{};
    bool refused_ = false;
};

} // namespace dieprofile
