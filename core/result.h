#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

// Why an operation failed, on its way into a Result:
//
//     return Failure{"the disk is full"};
//
// converts to a failed Result of any value type whose error can be made from it.
template <typename E> struct Failure { E error; };
template <typename E> Failure(E) -> Failure<E>;

template <typename U> inline constexpr bool kIsFailure = false;
template <typename E> inline constexpr bool kIsFailure<Failure<E>> = true;

// What an operation gives back: its value, or why it failed. The error is by
// default a message (a lower-case phrase or a whole sentence, as the function
// says); an operation whose callers must tell failures apart names a type of
// its own. Result<> carries no value, only success or the error.
//
//     Result<DovDatContents> read = decodeDovDat(bytes);
//     if (!read)
//         report(read.error());
//     use(*read);
template <typename T = void, typename E = std::string> class [[nodiscard]] Result {
    static constexpr bool kVoid = std::is_void_v<T>;
    using Stored = std::conditional_t<kVoid, std::monostate, T>;

public:
    // Success without a value.
    Result() requires kVoid = default;

    // Success with this value.
    template <typename U = Stored>
    requires(!kVoid && !kIsFailure<std::remove_cvref_t<U>> &&
             !std::is_same_v<std::remove_cvref_t<U>, Result> && std::is_constructible_v<T, U>)
        Result(U&& value)
        : m_outcome(std::in_place_index<0>, std::forward<U>(value)) {}

    // Failure for this reason.
    template <typename U>
    requires std::is_constructible_v<E, U> Result(Failure<U> failure)
        : m_outcome(std::in_place_index<1>, std::move(failure.error)) {}

    bool ok() const { return m_outcome.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    template <typename U = T>
    requires(!kVoid) U& value() & { return std::get<0>(m_outcome); }
    template <typename U = T>
    requires(!kVoid) const U& value() const& { return std::get<0>(m_outcome); }
    template <typename U = T>
    requires(!kVoid) U && value() && {
        return std::move(std::get<0>(m_outcome));
    }
    template <typename U = T>
    requires(!kVoid) U& operator*() & { return value(); }
    template <typename U = T>
    requires(!kVoid) const U& operator*() const& { return value(); }
    template <typename U = T>
    requires(!kVoid) U* operator->() { return &value(); }
    template <typename U = T>
    requires(!kVoid) const U* operator->() const { return &value(); }

    // Why it failed; empty when it did not.
    const E& error() const {
        static const E none{};
        return ok() ? none : std::get<1>(m_outcome);
    }

private:
    std::variant<Stored, E> m_outcome;
};
