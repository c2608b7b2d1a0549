#pragma once
// The hourglass for the lifetime of the guard.

#include "api_export.h"

namespace api {

class API_EXPORT WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace api
