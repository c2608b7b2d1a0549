#include "logged_action.h"

#include "dm_api.h"
#include "session.h"

namespace api {

void logFailure(const QString& message, const QString& module) {
    try {
        Tapi_dm::put_log(userName(), message, module);
    } catch (...) {
        // The log is the second casualty of a lost connection; the original error matters.
    }
}

}  // namespace api
