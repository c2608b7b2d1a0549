#pragma once
// The update download window: shows the progress of the installer's HTTP download.

#include <QDialog>
#include <QUrl>

class QIODevice;
class QLabel;
class QNetworkAccessManager;
class QProgressBar;

class Tfrm_download_alert : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_download_alert(QWidget* parent = nullptr);

    // Downloads the address into the device with an HTTP GET, the bar following the
    // transfer. Blocks until the transfer ends; throws api::AppError with the reason on failure.
    void download(const QUrl& url, QIODevice& target);

    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* ProgressBar1;
    QNetworkAccessManager* IdHTTP1;

private:
    void IdHTTP1WorkBegin(qint64 size);
    void IdHTTP1Work(qint64 count);
};
