#include "aboutbox.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "desktop.h"
#include "dm_api.h"
#include "query.h"
#include "session.h"

namespace {

QString homepageColumn(const QString& statement, const QString& column) {
    db::Query query(&api::connection());
    query.clearSql();
    query.addSql(statement);
    query.open();
    const QString value = query.field(column).asString();
    query.close();
    return value;
}

}  // namespace

QString Tfrm_aboutbox::get_homepage_deacr() {
    return homepageColumn(QStringLiteral("select note from dorv.ref_property p where p.name = 'homepage' "),
                          QStringLiteral("note"));
}

QString Tfrm_aboutbox::get_homepage() {
    return homepageColumn(
        QStringLiteral("select p.property_value from dorv.ref_property p where p.name = 'homepage' "),
        QStringLiteral("property_value"));
}

Tfrm_aboutbox::Tfrm_aboutbox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_aboutbox"));
    setWindowTitle(QStringLiteral("О программе"));
    auto* layout = new QVBoxLayout(this);
    lbl_product = new QLabel(QStringLiteral("АРМ \"Тавлина\""), this);
    lbl_product->setObjectName(QStringLiteral("lbl_product"));
    QFont big = lbl_product->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    lbl_product->setFont(big);
    lbl_version = new QLabel(this);
    lbl_version->setObjectName(QStringLiteral("lbl_version"));
    lbl_link_descr = new QLabel(this);
    lbl_link_descr->setObjectName(QStringLiteral("lbl_link_descr"));
    lbl_link_descr->setCursor(Qt::PointingHandCursor);
    lbl_link_descr->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    lbl_link_descr->installEventFilter(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(lbl_product);
    layout->addWidget(lbl_version);
    layout->addWidget(lbl_link_descr);
    layout->addWidget(buttons);

    lbl_version->setText(api::Tapi_dm::GetFileVersion(QCoreApplication::applicationFilePath()));
    lbl_link_descr->setText(get_homepage_deacr());
}

bool Tfrm_aboutbox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbl_link_descr && event->type() == QEvent::MouseButtonRelease) {
        lbl_link_descrClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_aboutbox::lbl_link_descrClick() { api::desktop().open(get_homepage()); }
