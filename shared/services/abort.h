#pragma once
// The silent abort: ends the current user action after its message was already shown.
// The application-wide handler swallows it.

#include <exception>

#include "api_export.h"

namespace api {

class API_EXPORT Abort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] API_EXPORT void abortSilently();

}  // namespace api
