#include "desktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace api {

namespace {

// The desktop of the running session: default applications through the desktop's own
// mechanism (xdg-open and friends behind QDesktopServices), programs started detached.
class SystemDesktop : public DesktopService {
public:
    bool open(const QString& fileOrUrl) override {
        if (fileOrUrl.isEmpty()) return false;
        const QFileInfo file(fileOrUrl);
        const QUrl url = file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath())
                                       : QUrl::fromUserInput(fileOrUrl);
        return url.isValid() && QDesktopServices::openUrl(url);
    }

    bool start(const QString& program, const QStringList& arguments) override {
        QFile file(program);
        if (file.exists())
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        return QProcess::startDetached(program, arguments);
    }

    bool hasSpreadsheetApplication() override {
        const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
        if (xdgMime.isEmpty()) return false;
        QProcess query;
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                              QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")});
        if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit ||
            query.exitCode() != 0)
            return false;
        return !query.readAllStandardOutput().trimmed().isEmpty();
    }
};

std::shared_ptr<DesktopService>& currentService() {
    static std::shared_ptr<DesktopService> service = std::make_shared<SystemDesktop>();
    return service;
}

}  // namespace

DesktopService& desktop() { return *currentService(); }

std::shared_ptr<DesktopService> setDesktopService(std::shared_ptr<DesktopService> service) {
    auto previous = currentService();
    currentService() = service ? std::move(service) : std::make_shared<SystemDesktop>();
    return previous;
}

}  // namespace api
