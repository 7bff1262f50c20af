// Error classes of the toolkit. Handlers never catch them; the message dispatch of the window that
// ran the handler does, and the application shows them with the default error display.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tk {

class Exception : public std::exception {
  public:
    // Out of line so that it can record the code address of the throw.
    explicit Exception(std::string message);
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }
    // Where in the code the error was raised, for the "Application Error" box.
    const void* Address() const { return address_; }
    // The class name the "Application Error" box reports.
    virtual const char* ClassName() const { return "Exception"; }

  private:
    std::string message_;
    const void* address_;
};

// An I/O error: a Windows error code and the message chosen by it.
class EInOutError : public Exception {
  public:
    explicit EInOutError(int code);
    int ErrorCode() const { return code_; }
    const char* ClassName() const override { return "EInOutError"; }

  private:
    int code_;
};

// A failed COM call.
class EOleSysError : public Exception {
  public:
    EOleSysError(std::string message, std::int32_t code)
        : Exception(std::move(message)), code_(code) {}
    std::int32_t ErrorCode() const { return code_; }
    const char* ClassName() const override { return "EOleSysError"; }

  private:
    std::int32_t code_;
};

// A COM call that failed with an error description (the data-access layer's errors).
class EOleException : public EOleSysError {
  public:
    EOleException(std::string message, std::int32_t code, std::string source = {})
        : EOleSysError(std::move(message), code), source_(std::move(source)) {}
    const std::string& Source() const { return source_; }
    const char* ClassName() const override { return "EOleException"; }

  private:
    std::string source_;
};

}  // namespace tk
