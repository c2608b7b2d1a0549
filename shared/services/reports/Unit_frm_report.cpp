#include "Unit_frm_report.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "abort.h"
#include "dates.h"
#include "dialogs/db_lookup_combo.h"
#include "dm_api_reports.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "report_messages.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_report);

namespace {
QDateEdit* dateEdit(const QString& name, QWidget* parent) {
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return edit;
}
}  // namespace

Tfrm_report::Tfrm_report(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_report"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    z_ref_pay_agents = new db::Query(this);
    z_ref_pay_agents->setObjectName(QStringLiteral("z_ref_pay_agents"));
    z_report = new db::Query(this);
    z_report->setObjectName(QStringLiteral("z_report"));

    date_beg = dateEdit(QStringLiteral("date_beg"), this);
    date_end = dateEdit(QStringLiteral("date_end"), this);
    db_pay_agents = new DbLookupCombo(this);
    db_pay_agents->setObjectName(QStringLiteral("db_pay_agents"));
    db_pay_agents->setMinimumWidth(220);
    btn_find_data = new QPushButton(QStringLiteral("Найти"), this);
    btn_find_data->setObjectName(QStringLiteral("btn_find_data"));
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setToolTip(QStringLiteral("Импорт в Excel"));
    SpeedButton1->setText(QStringLiteral("Excel"));

    grid_report = new DbGrid(this);
    grid_report->setObjectName(QStringLiteral("grid_report"));
    grid_report->setQuery(z_report);
    grid_report->setReadOnly(true);
    navigator = new DbNavigator(this);
    navigator->setObjectName(QStringLiteral("navigator"));
    navigator->setQuery(z_report);
    navigator->setVisibleButtons({DbNavigator::First, DbNavigator::Prior, DbNavigator::Next, DbNavigator::Last,
                                  DbNavigator::Refresh});

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("с"), this));
    top->addWidget(date_beg);
    top->addWidget(new QLabel(QStringLiteral("по"), this));
    top->addWidget(date_end);
    top->addWidget(db_pay_agents, 1);
    top->addWidget(btn_find_data);
    top->addWidget(SpeedButton1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_report, 1);
    layout->addWidget(navigator);
    resize(640, 480);

    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_report::SpeedButton1Click);
}

NamedValues Tfrm_report::parameterCells() const {
    return {{QStringLiteral("pay_agent"), db_pay_agents->currentText()},
            {QStringLiteral("beg_date"), toShortDate(date_beg->date())},
            {QStringLiteral("end_date"), toShortDate(date_end->date())}};
}

QString Tfrm_report::xlTransmitDataset(db::Query* dataset, const QString& templateName) {
    return Tapi_dm_reports::xlTransmitDataset(dataset, templateName, parameterCells());
}

void Tfrm_report::SpeedButton1Click() {
    using namespace report_messages;
    Tapi_dm_reports::requireSpreadsheetApplication();
    if (!z_report->isOpen()) {
        warning(kGetDataFirst);
        abortSilently();
    }
    // The empty list, the row limit and the detached grid of every export button.
    Tapi_dm_reports::exportDataset(*z_report, QStringLiteral("payreport_v2.xlt"), {grid_report, navigator}, true,
                                   parameterCells());
}

}  // namespace api
