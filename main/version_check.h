#pragma once
// Program versions are compared as plain text, byte by byte, a proper prefix being the
// smaller: "2.0.0.400" is newer than "2.0.0.327", "2.0.0.1000" is not.

#include <QString>

// Whether the announced version is newer than the local one (an empty announcement never is).
bool is_announced_version_newer(const QString& announced, const QString& local);
