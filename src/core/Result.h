// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <variant>

namespace twl {

// A failure the program expects and reports: a file that cannot be read or
// written, an archive that is no zip, a line Windows-1252 cannot hold.
struct Failure
{
    std::filesystem::path Path; // the file, folder or archive concerned, when there is one
    std::string Reason;         // why, in words the user reads
    int Code = 0;               // a number of its own, when the failure has one (an archive's)
    bool Missing = false;       // nothing of that name exists (or a folder on the way is missing)
};

// What an operation that may fail in an expected way gives back: its value,
// or the Failure. Faults of the program itself are no Result.
template <class T = void> class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    {}

    Result(Failure failure)
        : m_state(std::in_place_index<1>, std::move(failure))
    {}

    bool Ok() const { return m_state.index() == 0; }

    explicit operator bool() const { return Ok(); }

    // Only when Ok.
    const T& Value() const& { return std::get<0>(m_state); }

    T& Value() & { return std::get<0>(m_state); }

    T&& Value() && { return std::get<0>(std::move(m_state)); }

    const T& operator*() const& { return Value(); }

    T& operator*() & { return Value(); }

    const T* operator->() const { return &Value(); }

    T* operator->() { return &Value(); }

    // The value, or `fallback` when it failed.
    T ValueOr(T fallback) &&
    {
        return Ok() ? std::get<0>(std::move(m_state)) : std::move(fallback);
    }

    // Only when not Ok.
    const Failure& Error() const { return std::get<1>(m_state); }

    // Failed because nothing of that name exists.
    bool Missing() const { return !Ok() && Error().Missing; }

private:
    std::variant<T, Failure> m_state;
};

template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;

    Result(Failure failure)
        : m_failed(true)
        , m_failure(std::move(failure))
    {}

    bool Ok() const { return !m_failed; }

    explicit operator bool() const { return Ok(); }

    const Failure& Error() const { return m_failure; }

private:
    bool m_failed = false;
    Failure m_failure;
};

} // namespace twl
