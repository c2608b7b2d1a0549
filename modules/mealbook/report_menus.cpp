// The print menus of the documents and journal tabs, the account detail and the reports
// tab. Each item collects its report's parameters and hands the run to the template
// report builder.

#include <QAction>
#include <QCursor>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "abort.h"
#include "acc_food.h"
#include "dates.h"
#include "dialogs/db_lookup_combo.h"
#include "dm_api.h"
#include "logged_action.h"
#include "lookups/dm_api_lookups.h"
#include "mealbook_db.h"
#include "messages.h"
#include "query.h"
#include "reports/template_report.h"
#include "widgets/db_grid.h"

using ReportRequest = api::TemplateReportRequest;

namespace {

QString buildingName(int corpus) {
    auto q = mealbook::statement({QStringLiteral("select name from ref_corpus where corpus_id = :aval_corpus")});
    q->param(QStringLiteral("aval_corpus")).setInteger(corpus);
    mealbook::openLogged(*q);
    return q->recordCount() ? q->field(QStringLiteral("name")).asString() : QString();
}

}  // namespace

// --- the members of the protocol this window runs ---------------------------------------------

void Tfrm_mealbook::build_month_report(int corpus, int month, int year, int report_id, int invalid) {
    ReportRequest request;
    request.reportId = report_id;
    request.presets = {{QStringLiteral("year_id"), QString::number(year)},
                       {QStringLiteral("month_id"), QString::number(month)},
                       {QStringLiteral("corpus_id"), QString::number(corpus)},
                       {QStringLiteral("invalid"), QString::number(invalid)}};
    request.cells = {{QStringLiteral("Organization_name"), buildingName(corpus)}};
    api::TemplateReport::run(api::TemplateReport::mealbook(), request);
}

void Tfrm_mealbook::build_quarantine_report(int report_id) {
    ReportRequest request;
    request.reportId = report_id;
    request.presets = {{QStringLiteral("corpus_id"), QString::number(currentCorpus())}};
    request.cells = {{QStringLiteral("Organization_name"), buildingName(currentCorpus())}};
    api::TemplateReport::run(api::TemplateReport::mealbook(), request);
}

void Tfrm_mealbook::build_report_debt(int report_id) {
    const int corpus = db_journal_corpus->keyValue().toInt();
    auto note = mealbook::statement({QStringLiteral("select note from ref_corpus where corpus_id = :id_corpus")});
    note->param(QStringLiteral("id_corpus")).setInteger(corpus);
    mealbook::openLogged(*note);
    ReportRequest request;
    request.reportId = report_id;
    request.presets = {{QStringLiteral("corpus_note"), note->field(QStringLiteral("note")).asString()}};
    request.cells = {{QStringLiteral("Organization_name"), buildingName(corpus)}};
    api::TemplateReport::run(api::TemplateReport::mealbook(), request);
}

void Tfrm_mealbook::build_account_detail(db::Query& dataset) {
    ReportRequest request;
    request.reportId = 11;
    request.presets = {{QStringLiteral("account_id"), dataset.field(QStringLiteral("account_id")).asString()}};
    api::TemplateReport::run(api::TemplateReport::mealbook(), request);
}

void Tfrm_mealbook::N50Click() {
    if (current_pupil() == 0) return;
    build_account_detail(*z_pay_list);
}

void Tfrm_mealbook::N9Click() {
    if (!z_debt_school->isOpen() || z_debt_school->recordCount() == 0) {
        api::warning(QStringLiteral("Невозможно построить отчет из пустого списка. Уточните критерии поиска и повторите попытку"));
        api::abortSilently();
    }
    build_account_detail(*z_debt_school);
}

namespace {

void payListPrint(Tfrm_mealbook& window, ReportRequest::Source source) {
    const int number = window.get_pay_list_number();
    ReportRequest request;
    request.source = source;
    request.corpusId = window.currentCorpus();
    request.presets = {{QStringLiteral("doc_no"), QString::number(number)}};
    request.cells = {{QStringLiteral("CORPUS_NAME"), window.food_combo_corpus->currentText()},
                     {QStringLiteral("ON_DATE"), window.currentDateText()},
                     {QStringLiteral("DOC_NO"), QString::number(number)}};
    api::TemplateReport::run(api::TemplateReport::mealbook(), request);
}

}  // namespace

void Tfrm_mealbook::children_pay_listClick() { payListPrint(*this, ReportRequest::Source::PupilsPayList); }
void Tfrm_mealbook::staff_pay_listClick() { payListPrint(*this, ReportRequest::Source::StaffPayList); }

// --- print menus -------------------------------------------------------------------------------

// A month report of a menu: the documents tab's building and the month and year of its
// date, or, in the journal's menu, the journal's building, month and year.
void Tfrm_mealbook::runMonthReportFromMenu(int report_id, int invalid, bool journal, bool documentsTab) {
    if (journal && !documentsTab) {
        build_month_report(db_journal_corpus->keyValue().toInt(), db_months->keyValue().toInt(),
                           ed_year->text().trimmed().toInt(), report_id, invalid);
    } else {
        build_month_report(currentCorpus(), currentDate().month(), currentDate().year(), report_id, invalid);
    }
}

void Tfrm_mealbook::addMonthReportItems(QMenu* menu, bool journal) {
    const auto item = [this, journal](QMenu* into, const QString& caption, int report, int invalid = 3,
                                      bool documentsTab = false) {
        QAction* action = into->addAction(caption);
        connect(action, &QAction::triggered, this, [this, report, invalid, journal, documentsTab] {
            runMonthReportFromMenu(report, invalid, journal, documentsTab);
        });
        return action;
    };
    item(menu, QStringLiteral("Отчет о питании за месяц (Родительская часть)"), 1);
    item(menu, QStringLiteral("Отчет о питании за месяц (КШП)"), 2);
    item(menu, QStringLiteral("Отчет о питании за месяц (Льготное питание)"), 3);
    QMenu* free = menu->addMenu(QStringLiteral("Отчет о питании за месяц (Бесплатное питание)"));
    item(free, QStringLiteral("Все"), 4, 3);
    item(free, QStringLiteral("С инвалидностью"), 4, 1);
    item(free, QStringLiteral("Без инвалидности"), 4, 2);
    item(free, QStringLiteral("Дет сад"), 23, 3, true);
    QMenu* ovz = menu->addMenu(QStringLiteral("Отчет о питании за месяц (ОВЗ)"));
    item(ovz, QStringLiteral("с 1 по 4 класс"), 18);
    item(ovz, QStringLiteral("с 5 по 11 класс"), 5);
    item(ovz, QStringLiteral("Дет сад"), 24, 3, true);
    QAction* ovzAll = item(ovz, QStringLiteral("Все с 1 по 11"), 25, 3, true);
    (journal ? journal_ovz_all_item : ovz_all_item) = ovzAll;
    item(menu, QStringLiteral("Отчет о питании за месяц (Питание для персонала)"), 6);
    item(menu, QStringLiteral("Отчет о питании за месяц (бесплатное питание начальная школа"), 19);
    QMenu* mob = menu->addMenu(QStringLiteral("Отчет о питании за месяц (Мобилизация)"));
    item(mob, QStringLiteral("с 1 по 4 кл"), 48);
    item(mob, QStringLiteral("с 5 по 11 кл"), 49);
    item(menu, journal ? QStringLiteral("Отчет о  питании за месяц (Многодетные)")
                       : QStringLiteral("Отчет о питании за месяц (Многодетные)"), 50);
}

void Tfrm_mealbook::buildPrintMenus() {
    popup_print_pay_list = new QMenu(this);
    popup_print_pay_list->setObjectName(QStringLiteral("popup_print_pay_list"));
    QAction* pupils = popup_print_pay_list->addAction(QStringLiteral("Ведомость питания учащихся"));
    connect(pupils, &QAction::triggered, this, &Tfrm_mealbook::children_pay_listClick);
    staff_pay_list = popup_print_pay_list->addAction(QStringLiteral("Ведомость питания сотрудников"));
    staff_pay_list->setObjectName(QStringLiteral("staff_pay_list"));
    connect(staff_pay_list, &QAction::triggered, this, &Tfrm_mealbook::staff_pay_listClick);
    popup_print_pay_list->addSeparator();
    addMonthReportItems(popup_print_pay_list, false);
    quarantine_items << popup_print_pay_list->addSeparator();
    for (const auto& [caption, report] : {std::pair{"Отчет о питании за карантин (Бесплатное питание)", 21},
                                          std::pair{"Отчет о питании за карантин (ОВЗ)", 22}}) {
        QAction* action = popup_print_pay_list->addAction(QString::fromUtf8(caption));
        const int id = report;
        connect(action, &QAction::triggered, this, [this, id] { build_quarantine_report(id); });
        quarantine_items << action;
    }
    N34 = popup_print_pay_list->addSeparator();
    N34->setObjectName(QStringLiteral("N34"));
    for (const auto& [caption, report] :
         {std::pair{"Отчет о питании за месяц в группах общеразвивающей направленност", 33},
          std::pair{"Отчет о питании за месяц в группах с туб.интоксикацией", 34},
          std::pair{"Отчет о питании за месяц в группах с сахарным диабетом", 35}}) {
        QAction* action = popup_print_pay_list->addAction(QString::fromUtf8(caption));
        const int id = report;
        connect(action, &QAction::triggered, this, [this, id] { runMonthReportFromMenu(id, 3, false, true); });
        child_yard_items << action;
    }
    popup_print_pay_list->addSeparator();
    for (const auto& [caption, report] : {std::pair{"Отчет о питании за месяц (Все)", 10},
                                          std::pair{"Отчет о питании за месяц в разрезе ясли\\сад (Все)", 36}}) {
        QAction* action = popup_print_pay_list->addAction(QString::fromUtf8(caption));
        const int id = report;
        connect(action, &QAction::triggered, this, [this, id] { runMonthReportFromMenu(id, 3, false, true); });
    }
    connect(popup_print_pay_list, &QMenu::aboutToShow, this, [this] { popup_print_pay_listPopup(); });

    popup_journal = new QMenu(this);
    popup_journal->setObjectName(QStringLiteral("popup_journal"));
    addMonthReportItems(popup_journal, true);
    QAction* groups = popup_journal->addAction(QStringLiteral("Отчет о питании за месяц в разрезе ясли\\сад (Все)"));
    connect(groups, &QAction::triggered, this, [this] { runMonthReportFromMenu(36, 3, true, false); });
    popup_journal->addSeparator();
    for (const auto& [caption, report] : {std::pair{"Текущая задолженность", 104}, std::pair{"Текущие остатки", 105},
                                          std::pair{"Текущее состояние", 106}}) {
        QAction* action = popup_journal->addAction(QString::fromUtf8(caption));
        const int id = report;
        connect(action, &QAction::triggered, this, [this, id] { build_report_debt(id); });
    }
}

void Tfrm_mealbook::popup_print_pay_listPopup() {
    const bool childYard = is_child_yard(currentCorpus());
    N34->setVisible(childYard);
    for (QAction* action : child_yard_items) action->setVisible(childYard);
    ovz_all_item->setVisible(api::Tapi_dm::get_acl_list_for_function(QStringLiteral("ovz_report_gamma_all")));
    const bool quarantine = api::Tapi_dm::get_acl_list_for_function(QStringLiteral("quarantine_report"));
    for (QAction* action : quarantine_items) action->setVisible(quarantine);
}

void Tfrm_mealbook::btn_printClick() {
    auto staff = mealbook::statement({QStringLiteral("select staff_report_id from ref_corpus"),
                                      QStringLiteral("where staff_report_id is not null"),
                                      QStringLiteral("and corpus_id = :corpus")});
    staff->param(QStringLiteral("corpus")).setInteger(currentCorpus());
    mealbook::openLogged(*staff);
    staff_pay_list->setVisible(staff->recordCount() > 0);
    popup_print_pay_list->popup(QCursor::pos());
}

// --- reports tab -------------------------------------------------------------------------------

QWidget* Tfrm_mealbook::buildReportsTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page_reports"));
    z_template_report = new db::Query(this);
    z_template_report->setObjectName(QStringLiteral("z_template_report"));
    grid_template_report = new api::DbGrid(page);
    grid_template_report->setObjectName(QStringLiteral("grid_template_report"));
    grid_template_report->setQuery(z_template_report);
    grid_template_report->setReadOnly(true);
    grid_template_report->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(grid_template_report, &QAbstractItemView::doubleClicked, this, [this] { btn_run_reportClick(); });
    btn_run_report = new QPushButton(QStringLiteral("Построить отчет"), page);
    btn_run_report->setObjectName(QStringLiteral("btn_run_report"));
    connect(btn_run_report, &QPushButton::clicked, this, &Tfrm_mealbook::btn_run_reportClick);
    popup_template_report = new QMenu(this);
    popup_template_report->setObjectName(QStringLiteral("popup_template_report"));
    N69 = popup_template_report->addAction(QStringLiteral("Отладка отчета"));
    N69->setObjectName(QStringLiteral("N69"));
    connect(N69, &QAction::triggered, this, &Tfrm_mealbook::N69Click);
    grid_template_report->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_template_report, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        popup_template_report->popup(grid_template_report->viewport()->mapToGlobal(pos));
    });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(btn_run_report, 0, Qt::AlignLeft);
    layout->addWidget(grid_template_report, 1);
    return page;
}

void Tfrm_mealbook::run_report_of_list() {
    api::logged(mealbook::kLogModule, [&] { api::Tapi_dm_lookups::get_report_group(1, *z_template_report); });
    grid_template_report->setColumnTitle(QStringLiteral("report_id"), QStringLiteral("ID"));
    grid_template_report->setColumnTitle(QStringLiteral("name"), QStringLiteral("Назначение отчета"));
    grid_template_report->setColumnWidthByName(QStringLiteral("name"), 500);
    grid_template_report->setColumnHiddenByName(QStringLiteral("template"), true);
    grid_template_report->setColumnHiddenByName(QStringLiteral("is_csv"), true);
}

void Tfrm_mealbook::btn_run_reportClick() {
    if (!z_template_report->isOpen() || z_template_report->recordCount() == 0) return;
    const QDate today = QDate::currentDate();
    const int corpus = currentCorpus();
    ReportRequest request;
    request.reportId = int(z_template_report->field(QStringLiteral("report_id")).asInteger());
    request.templateName = z_template_report->field(QStringLiteral("template")).asString();
    request.presets = {{QStringLiteral("year_id"), today.toString(QStringLiteral("yyyy"))},
                       {QStringLiteral("month_id"), today.toString(QStringLiteral("MM"))},
                       {QStringLiteral("corpus_id"), QString::number(corpus)},
                       {QStringLiteral("invalid"), QStringLiteral("3")}};
    request.showDialog = true;
    request.cellsTogether = true;
    const QString name = food_combo_corpus->currentText();
    request.cellsFromParameters = [this, name, corpus](const api::NamedValues& parameters) {
        QString docNo;
        for (const auto& [parameter, value] : parameters)
            if (parameter.compare(QLatin1String("doc_no"), Qt::CaseInsensitive) == 0) docNo = value;
        const QDate onDate = docNo.isEmpty() ? QDate() : get_pay_list_date_per_number(corpus, docNo.toInt());
        return api::NamedValues{{QStringLiteral("Organization_name"), name},
                                     {QStringLiteral("CORPUS_NAME"), name},
                                     {QStringLiteral("ON_DATE"), api::toShortDate(onDate)}};
    };
    api::TemplateReport::run(api::TemplateReport::mealbook(), request);
}

void Tfrm_mealbook::N69Click() { btn_run_reportClick(); }
