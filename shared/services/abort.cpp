#include "abort.h"

namespace api {

void abortSilently() { throw Abort(); }

}  // namespace api
