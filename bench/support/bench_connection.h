#pragma once
// Connections of the benchmark programs: scripts/bench passes a libpq connection string
// (TLS, the login's certificate) as the first argument.

#include <libpq-fe.h>

#include "connection.h"

namespace bench {

// The data layer's profile for the same connection string.
db::ConnectionProfile profileFromConninfo(const char* conninfo);

// A bare libpq connection in UTF-8; prints the usage or the error and exits when it fails.
PGconn* connectOrExit(int argc, char** argv, const char* usage = "<conninfo>");

}  // namespace bench
