#include "unit_download_progress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app_error.h"

Tfrm_download_alert::Tfrm_download_alert(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_download_alert"));
    setWindowTitle(QStringLiteral("Индикатор загрузки обновления"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Идет процесс загрузки обновления на ваш компьютер."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Пожалуйста не прерывайте процесс пока обновление не будет "
                                       "готово к установке"),
                        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(ProgressBar1);
    IdHTTP1 = new QNetworkAccessManager(this);
    IdHTTP1->setObjectName(QStringLiteral("IdHTTP1"));
    setFixedSize(sizeHint().expandedTo(QSize(460, 0)));
}

void Tfrm_download_alert::IdHTTP1WorkBegin(qint64 size) {
    ProgressBar1->setMaximum(int(qMin<qint64>(size, std::numeric_limits<int>::max())));
    ProgressBar1->setValue(0);
}

void Tfrm_download_alert::IdHTTP1Work(qint64 count) {
    ProgressBar1->setValue(int(qMin<qint64>(ProgressBar1->value() + count, ProgressBar1->maximum())));
}

void Tfrm_download_alert::download(const QUrl& url, QIODevice& target) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = IdHTTP1->get(request);
    bool begun = false;
    QString writeError;
    auto drain = [&] {
        const QByteArray chunk = reply->readAll();
        if (chunk.isEmpty()) return;
        if (!begun) {
            begun = true;
            IdHTTP1WorkBegin(reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
        }
        if (target.write(chunk) != chunk.size() && writeError.isNull()) {
            writeError = target.errorString();
            reply->abort();
        }
        IdHTTP1Work(chunk.size());
    };
    connect(reply, &QNetworkReply::readyRead, this, drain);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    drain();
    const bool failed = reply->error() != QNetworkReply::NoError;
    const QString reason = writeError.isNull() ? reply->errorString() : writeError;
    reply->deleteLater();
    if (failed || !writeError.isNull()) throw api::AppError(reason);
}
