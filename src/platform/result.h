#pragma once
// The one shape of an operation that can fail: a value, or the reason it failed in words an
// operator reads. Nothing else says how something failed: no error out-parameters, no last
// error read afterwards, no empty string for success.

#include <string>
#include <utility>
#include <variant>

namespace pagelark {

// Why an operation failed; never empty.
struct Failure {
    std::string reason;
};

inline Failure Fail(std::string reason) {
    return Failure{reason.empty() ? std::string("failed") : std::move(reason)};
}

template <typename T = void>
class [[nodiscard]] Result {
  public:
    Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}            // NOLINT
    Result(Failure failure) : held_(std::in_place_index<1>, std::move(failure)) {}  // NOLINT

    bool Ok() const { return held_.index() == 0; }
    explicit operator bool() const { return Ok(); }
    T& Value() & { return std::get<0>(held_); }
    const T& Value() const& { return std::get<0>(held_); }
    T&& Value() && { return std::get<0>(std::move(held_)); }
    T* operator->() { return &Value(); }
    const T* operator->() const { return &Value(); }
    // "" when it succeeded.
    const std::string& Error() const {
        static const std::string none;
        return Ok() ? none : std::get<1>(held_).reason;
    }

  private:
    std::variant<T, Failure> held_;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure)  // NOLINT
        : failure_(failure.reason.empty() ? "failed" : std::move(failure.reason)) {}

    bool Ok() const { return failure_.empty(); }
    explicit operator bool() const { return Ok(); }
    // "" when it succeeded.
    const std::string& Error() const { return failure_; }

  private:
    std::string failure_;
};

// Success of an operation that gives nothing back.
inline Result<> Done() {
    return {};
}

}  // namespace pagelark
