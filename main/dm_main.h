#pragma once
// The small data module of the main program.

#include <QObject>

class Tdm : public QObject {
    Q_OBJECT
public:
    explicit Tdm(QObject* parent = nullptr);

    // Loads a package file and keeps it loaded for the life of the process. On failure
    // shows "Не удалось загрузить модуль " + path and aborts silently. Needs no instance.
    static void load_module_once(const QString& path);
};
