#include "version_check.h"

#include <QByteArray>

bool is_announced_version_newer(const QString& announced, const QString& local) {
    // Version strings are plain ASCII; their bytes compare the same in every code page.
    return announced.toUtf8() > local.toUtf8();
}
