#pragma once
// A module's database routine: on failure, write the error to the message log with the
// module's tag and raise a plain error with the same text.

#include <exception>
#include <utility>

#include "abort.h"
#include "api_export.h"
#include "app_error.h"

namespace api {

// Writes put_log(user, message, module); never throws (a failed log write is dropped).
API_EXPORT void logFailure(const QString& message, const QString& module);

template <class F>
decltype(auto) logged(const QString& module, F&& action) {
    try {
        return std::forward<F>(action)();
    } catch (const Abort&) {
        throw;
    } catch (const std::exception& e) {
        const QString message = QString::fromUtf8(e.what());
        logFailure(message, module);
        throw AppError(message);
    }
}

}  // namespace api
