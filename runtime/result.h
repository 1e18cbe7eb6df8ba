#pragma once

#include <utility>
#include <variant>

namespace tervanel {

// The arithmetic faults a calculation can meet. Underflow and inexact results are never faults.
enum class ArithmeticFault {
    Overflow,
    DivisionByZero,
    InvalidOperation,
    InvalidArgument,
};

// A value or the reason there is none; the core never throws and never ends the program.
// Implicit on purpose, so that `return value;` and `return fault;` both make one.
template <typename T, typename E = ArithmeticFault> class Result {
public:
    // cppcheck-suppress noExplicitConstructor
    Result(T value) : data_(std::in_place_index<0>, std::move(value)) {}
    // cppcheck-suppress noExplicitConstructor
    Result(E error) : data_(std::in_place_index<1>, std::move(error)) {}

    [[nodiscard]] bool ok() const { return data_.index() == 0; }
    [[nodiscard]] const T& value() const { return std::get<0>(data_); }
    [[nodiscard]] const E& error() const { return std::get<1>(data_); }

private:
    std::variant<T, E> data_;
};

} // namespace tervanel
