#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tunebridge {

// Errors the program raises itself are numbered from this base.
constexpr std::int32_t kUserErrorBase = static_cast<std::int32_t>(0x80040000u);
constexpr std::int32_t kErrWinampNotRunning = kUserErrorBase + 1;
// Number and text of the run-time's own overflow error.
constexpr std::int32_t kErrOverflow = 6;
// The run-time's error for a string cut past its start.
constexpr std::int32_t kErrInvalidArgument = 5;
inline constexpr const char* kOverflowDescription = "Overflow";

// A run-time failure: number, description and the routine it came from.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(std::int32_t number, std::string description, std::string source)
        : std::runtime_error(description), number_(number),
          description_(std::move(description)), source_(std::move(source)) {}

    std::int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& Source() const { return source_; }

    // The same error as re-raised by `routine`: "routine::" goes in front of the source.
    RuntimeError RaisedAgainBy(const std::string& routine) const {
        return RuntimeError(number_, description_, routine + "::" + source_);
    }

private:
    std::int32_t number_;
    std::string description_;
    std::string source_;
};

inline RuntimeError OverflowError(const std::string& source) {
    return RuntimeError(kErrOverflow, kOverflowDescription, source);
}

} // namespace tunebridge
