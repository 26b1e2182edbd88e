// How an operation ended, the one way every layer reports it: true means success, a failure carries its reason.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace qm {

// Why an operation failed, where a caller must react differently.
enum class Failure {
    Other,
    NotFound,
    Exists, // the target of a move without replacement is taken
    CrossDevice, // a rename between two file systems
    ReadOnly,
    NoSpace,
    NotRegular, // a FIFO, device, socket or folder where a regular file is needed
    Changed, // the file changed while the program worked on it
};

class [[nodiscard]] Status {
public:
    Status() = default; // success

    static Status Ok() { return {}; }
    static Status Fail(std::string reason, Failure failure = Failure::Other)
    {
        Status status;
        status.ok_ = false;
        status.failure_ = failure;
        status.reason_ = std::move(reason);
        return status;
    }

    explicit operator bool() const { return ok_; }
    bool ok() const { return ok_; }
    Failure failure() const { return failure_; }
    const std::string& reason() const { return reason_; } // a sentence for the user, naming the file

private:
    bool ok_ = true;
    Failure failure_ = Failure::Other;
    std::string reason_;
};

// A value, or the failure that stands in its place.
template<class T> class [[nodiscard]] Expected {
public:
    Expected(T value)
        : value_(std::move(value))
    {
    }
    Expected(Status failure)
        : status_(std::move(failure))
    {
    }

    explicit operator bool() const { return value_.has_value(); }
    bool ok() const { return value_.has_value(); }

    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

    const Status& status() const { return status_; }
    const std::string& reason() const { return status_.reason(); }
    Failure failure() const { return status_.failure(); }

private:
    std::optional<T> value_;
    Status status_;
};

} // namespace qm
