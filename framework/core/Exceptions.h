#pragma once
// The framework's exception types. The program catches none of them: they travel up to the
// framework's event boundary, which reports them (UnhandledException) and ends the program.

#include <exception>
#include <string>

namespace fw {

class RuntimeException : public std::exception {
 public:
  explicit RuntimeException(std::string message = {}) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }
  // The class name shown in the unhandled-failure report.
  virtual const char* ClassName() const noexcept { return "RuntimeException"; }

 private:
  std::string message_;
};

#define FW_DECLARE_EXCEPTION(Name)                                              \
  class Name : public RuntimeException {                                        \
   public:                                                                      \
    using RuntimeException::RuntimeException;                                   \
    const char* ClassName() const noexcept override { return #Name; }           \
  }

// An operation was applied to an absent object.
FW_DECLARE_EXCEPTION(NilObjectException);
// An array index lies outside the array's bounds.
FW_DECLARE_EXCEPTION(OutOfBoundsException);
// A checked cast found an object of another class.
FW_DECLARE_EXCEPTION(IllegalCastException);
// A malformed argument: a property list that does not decode, a delegate of the wrong signature.
FW_DECLARE_EXCEPTION(UnsupportedFormatException);
FW_DECLARE_EXCEPTION(InvalidArgumentException);

#undef FW_DECLARE_EXCEPTION

}  // namespace fw
