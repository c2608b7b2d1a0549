#pragma once
// A plain error with a message for the user (the platform's generic exception).

#include <QString>
#include <stdexcept>

#include "api_export.h"

namespace api {

class API_EXPORT AppError : public std::runtime_error {
public:
    explicit AppError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

}  // namespace api
