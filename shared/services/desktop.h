#pragma once
// Handing files and addresses to the desktop (default applications) and starting programs.
// One service, replaced in tests.

#include <QString>
#include <QStringList>
#include <memory>

#include "api_export.h"

namespace api {

class API_EXPORT DesktopService {
public:
    virtual ~DesktopService() = default;
    // Opens a file or an address with the desktop's default application; false on failure.
    virtual bool open(const QString& fileOrUrl) = 0;
    // Starts a program detached with its arguments; false on failure.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
    // Whether the desktop knows a default application for spreadsheets.
    virtual bool hasSpreadsheetApplication() = 0;
};

API_EXPORT DesktopService& desktop();
API_EXPORT std::shared_ptr<DesktopService> setDesktopService(std::shared_ptr<DesktopService> service);

// Records what was opened or started instead of doing it.
class API_EXPORT RecordingDesktop : public DesktopService {
public:
    bool open(const QString& fileOrUrl) override { opened << fileOrUrl; return true; }
    bool start(const QString& program, const QStringList& arguments) override {
        started << (QStringList{program} + arguments).join(u' ');
        return true;
    }
    bool hasSpreadsheetApplication() override { return spreadsheetApplication; }
    QStringList opened, started;
    bool spreadsheetApplication = true;
};

}  // namespace api
