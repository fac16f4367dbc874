#pragma once
// The outcome of checking the boxes of an input page: the accepted values, or the first failure with its
// message and the control that gets the focus.

#include <string>
#include <utility>
#include <variant>

namespace grovex {

struct FieldError {
    std::string message; // shown in a plain message box with an OK button
    int control = 0;     // id of the box that gets the focus, its text selected

    bool operator==(const FieldError&) const = default;
};

template <class T> class Checked {
public:
    Checked(T value) : state_(std::move(value)) {}
    Checked(FieldError error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(state_); }
    const FieldError& error() const { return std::get<FieldError>(state_); }

private:
    std::variant<T, FieldError> state_;
};

} // namespace grovex
