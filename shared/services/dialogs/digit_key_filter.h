#pragma once
// The key filter of count and year fields: digits 0-9, Backspace and the paste key
// (Ctrl+V, character 22) pass; every other typed character is dropped. Keys that type
// nothing (arrows, Tab, Delete) are left alone, as they never reach a character filter.

#include <QObject>

#include "api_export.h"

class QWidget;

namespace api {

class API_EXPORT DigitKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit DigitKeyFilter(QObject* parent = nullptr) : QObject(parent) {}
    // Installs one filter, owned by the field.
    static void install(QWidget* field);
    // Whether a typed character passes the filter.
    static bool accepts(QChar typed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace api
