#pragma once

// The framework's errors. Each carries a wide message for the user; what()
// gives it as UTF-8 so test output and logs can show it.

#include <exception>
#include <string>

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

class Exception : public std::exception {
  public:
    explicit Exception(std::wstring message) : message_(std::move(message)) {
        narrow_ = WideToUtf8(message_);
    }
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

  private:
    std::wstring message_;
    std::string narrow_;
};

// A text that is not a number of the asked kind.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// A resource the executable does not carry, or cannot be read.
class EResourceError : public Exception {
  public:
    using Exception::Exception;
};

// A form description that cannot be applied; the message names the resource,
// the line and the problem.
class EFormDescriptionError : public Exception {
  public:
    using Exception::Exception;
};

// A call that is not allowed in the object's present state.
class EInvalidOperation : public Exception {
  public:
    using Exception::Exception;
};

// Misuse of a component: duplicate names, bad owners.
class EComponentError : public Exception {
  public:
    using Exception::Exception;
};

// Index out of range, a duplicate in a list that refuses them, ...
class EStringListError : public Exception {
  public:
    using Exception::Exception;
};

// The message of any exception: ours and the graphics' carry a wide one, the
// standard library's a narrow one (taken as UTF-8).
std::wstring ExceptionMessage(const std::exception& e);
