// The journal tab: a building's pay lists of a month, opened on the documents tab by a
// double-click.

#include <QCursor>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "abort.h"
#include "acc_food.h"
#include "dialogs/db_lookup_combo.h"
#include "dialogs/digit_key_filter.h"
#include "dm_api.h"
#include "mealbook_db.h"
#include "messages.h"
#include "query.h"
#include "session.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"

QWidget* Tfrm_mealbook::buildJournalTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page_journal"));

    z_journal_corpus = new db::Query(this);
    z_journal_corpus->setObjectName(QStringLiteral("z_journal_corpus"));
    db_journal_corpus = new api::DbLookupCombo(page);
    db_journal_corpus->setObjectName(QStringLiteral("db_journal_corpus"));
    db_journal_corpus->setQuery(z_journal_corpus, QStringLiteral("corpus_id"), QStringLiteral("name"));
    db_journal_corpus->setMinimumWidth(280);

    z_months = new db::Query(this);
    z_months->setObjectName(QStringLiteral("z_months"));
    db_months = new api::DbLookupCombo(page);
    db_months->setObjectName(QStringLiteral("db_months"));
    db_months->setQuery(z_months, QStringLiteral("num_month"), QStringLiteral("month_name"));

    ed_year = new QLineEdit(page);
    ed_year->setObjectName(QStringLiteral("ed_year"));
    ed_year->setMaximumWidth(60);
    api::DigitKeyFilter::install(ed_year);

    Button2 = new QPushButton(QStringLiteral("Обновить"), page);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setToolTip(QStringLiteral("Обновить информацию"));
    connect(Button2, &QPushButton::clicked, this, &Tfrm_mealbook::Button2Click);
    bnt_print_journal = new QPushButton(QStringLiteral("Печать"), page);
    bnt_print_journal->setObjectName(QStringLiteral("bnt_print_journal"));
    connect(bnt_print_journal, &QPushButton::clicked, this, &Tfrm_mealbook::bnt_print_journalMouseUp);

    z_pay_list_log = new db::Query(this);
    z_pay_list_log->setObjectName(QStringLiteral("z_pay_list_log"));
    grid_pay_list_log = new api::DbGrid(page);
    grid_pay_list_log->setObjectName(QStringLiteral("grid_pay_list_log"));
    grid_pay_list_log->setQuery(z_pay_list_log);
    grid_pay_list_log->setReadOnly(true);
    grid_pay_list_log->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(grid_pay_list_log, &QAbstractItemView::doubleClicked, this, [this] { grid_pay_list_logDblClick(); });
    nav_pay_list_log = new api::DbNavigator(page);
    nav_pay_list_log->setObjectName(QStringLiteral("nav_pay_list_log"));
    nav_pay_list_log->setQuery(z_pay_list_log);
    using N = api::DbNavigator;
    nav_pay_list_log->setVisibleButtons({N::First, N::Prior, N::Next, N::Last});

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Корпус"), page));
    top->addWidget(db_journal_corpus);
    top->addWidget(new QLabel(QStringLiteral("Месяц"), page));
    top->addWidget(db_months);
    top->addWidget(new QLabel(QStringLiteral("Год"), page));
    top->addWidget(ed_year);
    top->addWidget(Button2);
    top->addWidget(bnt_print_journal);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(grid_pay_list_log, 1);
    layout->addWidget(nav_pay_list_log, 0, Qt::AlignLeft);
    return page;
}

void Tfrm_mealbook::get_pay_list_log() {
    z_pay_list_log->close();
    z_pay_list_log->clearSql();
    z_pay_list_log->setConnection(&api::connection());
    for (const char* line :
         {"select p.doc_no, p.entry_date, s.name as status, p.note, p.corpus",
          "from pay_list p, public.ref_status s where p.corpus = :corpus_id",
          "and p.corpus = :corpus_id and p.entry_date between (select beg_date from public.get_period(:m,:m,:y)) and (select end_date from public.get_period(:m,:m,:y))",
          "and p.status = s.status_id", "order by p.entry_date desc"})
        z_pay_list_log->addSql(QString::fromUtf8(line));
    z_pay_list_log->param(QStringLiteral("y")).setInteger(ed_year->text().trimmed().toInt());
    z_pay_list_log->param(QStringLiteral("m")).setInteger(db_months->keyValue().toInt());
    z_pay_list_log->param(QStringLiteral("corpus_id")).setInteger(db_journal_corpus->keyValue().toInt());
    mealbook::openLogged(*z_pay_list_log);
    struct Column {
        const char* field;
        const char* title;
        int width;
    };
    static const Column kColumns[] = {
        {"doc_no", "№ документа", 80}, {"entry_date", "Дата", 70}, {"status", "Статус", 60}, {"note", "Примечание", 300}};
    for (const Column& column : kColumns) {
        grid_pay_list_log->setColumnTitle(QString::fromLatin1(column.field), QString::fromUtf8(column.title));
        grid_pay_list_log->setColumnWidthByName(QString::fromLatin1(column.field), column.width);
    }
    grid_pay_list_log->setColumnHiddenByName(QStringLiteral("corpus"), true);
}

void Tfrm_mealbook::Button2Click() {
    if (ed_year->text().trimmed().isEmpty()) {
        api::warning(QStringLiteral("Не указан год. "));
        ed_year->setText(QString::number(api::Tapi_dm::get_current_year()));
        api::abortSilently();
    }
    get_pay_list_log();
}

void Tfrm_mealbook::bnt_print_journalMouseUp() {
    journal_ovz_all_item->setVisible(api::Tapi_dm::get_acl_list_for_function(QStringLiteral("ovz_report_gamma_all")));
    popup_journal->popup(QCursor::pos());
}

// Opens the journal's document on the documents tab.
void Tfrm_mealbook::grid_pay_list_logDblClick() {
    if (!z_pay_list_log->isOpen() || z_pay_list_log->recordCount() == 0) return;
    food_combo_corpus->setKeyValue(int(z_pay_list_log->field(QStringLiteral("corpus")).asInteger()));
    food_calendar->setDate(z_pay_list_log->field(QStringLiteral("entry_date")).asDate());
    refresh_tabs();
    update_class_structure();
    get_pay_list();
    remember_good_state();
    set_child_yard_flag();
    show_note();
    accounting_page->setCurrentIndex(0);
}
