#pragma once

#include <string>
#include <utility>

namespace murmelix {

// What an operation the person started came to: done, cancelled by them, or failed with
// the message that was (or is to be) shown. Readers, writers and the program's operations
// return it, so a caller cannot mistake a cancel for a failure or drop either unnoticed.
class [[nodiscard]] Result {
  public:
    enum class Kind { Done, Cancelled, Failed };

    static Result success() { return Result(Kind::Done, {}); }
    static Result cancel() { return Result(Kind::Cancelled, {}); }
    static Result failure(std::string message) { return Result(Kind::Failed, std::move(message)); }

    Kind kind() const { return kind_; }
    bool ok() const { return kind_ == Kind::Done; }
    bool wasCancelled() const { return kind_ == Kind::Cancelled; }
    bool failed() const { return kind_ == Kind::Failed; }
    // The failure's text; empty otherwise.
    const std::string& message() const { return message_; }

    bool operator==(const Result&) const = default;

  private:
    Result(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

    Kind kind_;
    std::string message_;
};

}  // namespace murmelix
