#pragma once
// Clicking into a name or search field switches the keyboard to the Russian layout.

#include <QObject>

#include "api_export.h"

class QWidget;

namespace api {

class API_EXPORT RussianLayoutOnClick : public QObject {
    Q_OBJECT
public:
    explicit RussianLayoutOnClick(QObject* parent = nullptr) : QObject(parent) {}
    static void install(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace api
