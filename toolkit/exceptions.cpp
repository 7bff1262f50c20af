#include "toolkit/exceptions.h"

#include "core/error_text.h"

namespace tk {

__attribute__((noinline)) Exception::Exception(std::string message)
    : message_(std::move(message)), address_(__builtin_return_address(0)) {}

EInOutError::EInOutError(int code) : Exception(quenlo::IoErrorMessage(code)), code_(code) {}

}  // namespace tk
