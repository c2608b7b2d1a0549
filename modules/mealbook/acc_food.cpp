#include "acc_food.h"

#include <QDateEdit>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "abort.h"
#include "dm_api.h"
#include "lookups/dm_api_lookups.h"
#include "dialogs/db_lookup_combo.h"
#include "mealbook_db.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "widgets/db_grid.h"
#include <QRadioButton>

DORV_REGISTER_CLASS(Tfrm_mealbook);

Tfrm_mealbook::Tfrm_mealbook(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frm_mealbook"));
    setWindowTitle(QStringLiteral("Учет питания"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);

    accounting_page = new QTabWidget(this);
    accounting_page->setObjectName(QStringLiteral("accounting_page"));
    accounting_page->addTab(buildDocumentsTab(), QStringLiteral("Документы"));
    accounting_page->addTab(buildJournalTab(), QStringLiteral("Журнал"));
    accounting_page->addTab(buildAccountStatesTab(), QStringLiteral("Состояние счетов"));
    accounting_page->addTab(buildReportsTab(), QStringLiteral("Отчеты"));
    buildFoodPopup();
    buildPrintMenus();
    connect(accounting_page, &QTabWidget::currentChanged, this, [this] {
        if (shown_) accounting_pageChange();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(accounting_page);
}

void Tfrm_mealbook::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // After the window is on screen, through the event loop, so that a failure reaches the
    // application's error handler like any other user action.
    QTimer::singleShot(0, this, &Tfrm_mealbook::FormShow);
}

// Picks the first building, creates today's pay list when the building has none at all,
// then shows today's list, or offers to create it, or falls back to the latest one.
void Tfrm_mealbook::FormShow() {
    shown_ = true;
    api::Tapi_dm_lookups::get_list_corpus(*z_journal_corpus);
    if (z_journal_corpus->recordCount() > 0) db_journal_corpus->setCurrentIndex(0);
    api::Tapi_dm_lookups::get_list_months(ed_year, *z_months);
    db_months->setKeyValue(api::Tapi_dm::get_current_month());
    food_get_corpus();

    const QDate today = api::Tapi_dm::get_curr_date();
    auto anyList = mealbook::statement({QStringLiteral("select p.doc_no from pay_list p where p.corpus = :corpus_id limit 1")});
    anyList->param(QStringLiteral("corpus_id")).setInteger(currentCorpus());
    mealbook::openLogged(*anyList);
    if (anyList->recordCount() == 0) {
        food_calendar->setDate(today);
        create_pay_list(currentCorpus());
        api::info(QStringLiteral("В базе данных не найдено ни одной ведомости. Ведомость на текущую дату будет создана автоматически."));
    }

    accounting_page->setCurrentIndex(0);
    food_calendar->setDate(today);
    const auto requireClasses = [this] {
        if (!choose_building_with_classes()) {
            api::warning(QStringLiteral("В образовательном учреждении не найдено классов ни в одном из корпусов, создайте хотябы один и повторите попытку."));
            api::abortSilently();
        }
    };
    if (check_pay_list() == 0) {
        if (api::ask(QStringLiteral("Нет созданной ведомости на текущую дату. Создать ведомость ? "))) {
            requireClasses();
            refresh_tabs();
            create_pay_list(currentCorpus());
            get_pay_list();
            show_note();
            remember_good_state();
            return;
        }
        const QDate recent = get_recent_date_pay_list(currentCorpus());
        if (recent.isValid()) food_calendar->setDate(recent);
    }
    requireClasses();
    refresh_tabs();
    update_class_structure();
    get_pay_list();
    show_note();
    remember_good_state();
    set_child_yard_flag();
}

void Tfrm_mealbook::accounting_pageChange() {
    switch (accounting_page->currentIndex()) {
    case 1: get_pay_list_log(); break;
    case 2: {
        radio_button_both->setChecked(true);
        db_corpus_debt->setEnabled(true);
        z_corpus_debt->setConnection(&api::connection());
        mealbook::openLogged(*z_corpus_debt);
        db_corpus_debt->setCurrentIndex(0);
        debtFilter_ = QStringLiteral("both");
        apply_debt_filter(debtFilter_);
        get_debt_school();
        reset_debt_titles();
        set_search_field(debt_school->columnOf(QStringLiteral("last_name")));
        lbl_max_calc_date->setText(QStringLiteral("Состояние счетов на ") +
                                   api::Tapi_dm::get_max_calc_date(QStringLiteral("calc_current_debt")));
        break;
    }
    case 3: run_report_of_list(); break;
    default: break;
    }
}
