// The documents tab: building, date, parallel and class tabs; finding, creating and
// loading the pay list of the building and day.

#include <QCalendarWidget>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "abort.h"
#include "acc_food.h"
#include "dates.h"
#include "dialogs/db_lookup_combo.h"
#include "logged_action.h"
#include "lookups/dm_api_lookups.h"
#include "mealbook_db.h"
#include "messages.h"
#include "pay_list_grid.h"
#include "query.h"
#include "session.h"
#include "widgets/db_grid.h"

using mealbook::execLogged;
using mealbook::openLogged;
using mealbook::statement;

QWidget* Tfrm_mealbook::buildDocumentsTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page_documents"));

    z_corpus = new db::Query(this);
    z_corpus->setObjectName(QStringLiteral("z_corpus"));
    food_combo_corpus = new api::DbLookupCombo(page);
    food_combo_corpus->setObjectName(QStringLiteral("food_combo_corpus"));
    food_combo_corpus->setQuery(z_corpus, QStringLiteral("corpus_id"), QStringLiteral("name"));
    food_combo_corpus->setMinimumWidth(280);
    connect(food_combo_corpus, &QComboBox::activated, this, [this] { food_combo_corpusCloseUp(); });

    food_calendar = new QDateEdit(page);
    food_calendar->setObjectName(QStringLiteral("food_calendar"));
    food_calendar->setCalendarPopup(true);
    food_calendar->setDisplayFormat(api::shortDateFormat());
    connect(food_calendar->calendarWidget(), &QCalendarWidget::clicked, this, [this] {
        if (food_calendar->date() != lastGoodDate_) food_calendarCloseUp();
    });
    connect(food_calendar, &QDateEdit::editingFinished, this, [this] {
        if (food_calendar->date() != lastGoodDate_) food_calendarCloseUp();
    });

    food_page_class = new QTabBar(page);
    food_page_class->setObjectName(QStringLiteral("food_page_class"));
    food_page_class->setExpanding(false);
    connect(food_page_class, &QTabBar::currentChanged, this, [this] {
        if (!rebuildingTabs_) food_page_classChange();
    });
    food_page_class_liter = new QTabBar(page);
    food_page_class_liter->setObjectName(QStringLiteral("food_page_class_liter"));
    food_page_class_liter->setExpanding(false);
    connect(food_page_class_liter, &QTabBar::currentChanged, this, [this] {
        if (!rebuildingTabs_) food_page_class_literChange();
    });

    auto* docCaption = new QLabel(QStringLiteral("Документ №"), page);
    lbl_doc_no = new QLabel(page);
    lbl_doc_no->setObjectName(QStringLiteral("lbl_doc_no"));
    lbl_statistic = new QLabel(page);
    lbl_statistic->setObjectName(QStringLiteral("lbl_statistic"));

    z_pay_list = new db::Query(this);
    z_pay_list->setObjectName(QStringLiteral("z_pay_list"));
    z_pay_list->setCachedUpdates(true);
    // The list is never edited as a table: a new row is cancelled at once.
    z_pay_list->beforeInsert = [](db::Query&) { api::abortSilently(); };
    grid_pay_list = new api::DbGrid(page);
    grid_pay_list->setObjectName(QStringLiteral("grid_pay_list"));
    grid_pay_list->setQuery(z_pay_list);
    grid_pay_list->setReadOnly(true);
    grid_pay_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_pay_list->setContextMenuPolicy(Qt::CustomContextMenu);
    mealbook::installPayListLook(grid_pay_list);
    connect(grid_pay_list, &QAbstractItemView::doubleClicked, this, [this] { grid_pay_listDblClick(); });
    connect(grid_pay_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        popup_foodPopup();
        popup_food->popup(grid_pay_list->viewport()->mapToGlobal(pos));
    });

    note_memo = new QPlainTextEdit(page);
    note_memo->setObjectName(QStringLiteral("note_memo"));
    note_memo->setMaximumHeight(60);
    const auto makeButton = [page](const QString& name, const QString& caption, const QString& hint) {
        auto* button = new QPushButton(caption, page);
        button->setObjectName(name);
        if (!hint.isEmpty()) button->setToolTip(hint);
        return button;
    };
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Записать"),
                         QStringLiteral("Записать примечаание к ведомости"));
    btn_go = makeButton(QStringLiteral("btn_go"), QStringLiteral("Выполнить"),
                        QStringLiteral("Выполнить действие с документом"));
    btn_print = makeButton(QStringLiteral("btn_print"), QStringLiteral("Печать"),
                           QStringLiteral("Вывести на печать ведомость на выдачу питания"));
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("Легенда"), QString());
    SpeedButton2 = makeButton(QStringLiteral("SpeedButton2"), QStringLiteral("Стат-ка"),
                              QStringLiteral("Статистика по рационам в разрезе класса"));
    btn_orders = makeButton(QStringLiteral("btn_orders"), QStringLiteral("Заявки"), QString());
    btn_orders->setEnabled(false);
    connect(Button1, &QPushButton::clicked, this, &Tfrm_mealbook::Button1Click);
    connect(btn_go, &QPushButton::clicked, this, &Tfrm_mealbook::btn_goMouseUp);
    connect(btn_print, &QPushButton::clicked, this, &Tfrm_mealbook::btn_printClick);
    connect(Button3, &QPushButton::clicked, this, &Tfrm_mealbook::Button3Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &Tfrm_mealbook::SpeedButton2Click);
    connect(btn_orders, &QPushButton::clicked, this, &Tfrm_mealbook::btn_ordersClick);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Корпус"), page));
    top->addWidget(food_combo_corpus);
    top->addWidget(new QLabel(QStringLiteral("Дата"), page));
    top->addWidget(food_calendar);
    top->addSpacing(12);
    top->addWidget(docCaption);
    top->addWidget(lbl_doc_no);
    top->addStretch(1);
    for (QPushButton* button : {btn_go, btn_print, SpeedButton2, Button3, btn_orders}) top->addWidget(button);

    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(note_memo, 1);
    noteRow->addWidget(Button1, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(food_page_class);
    layout->addWidget(food_page_class_liter);
    layout->addWidget(grid_pay_list, 1);
    layout->addWidget(lbl_statistic);
    layout->addLayout(noteRow);
    return page;
}

// --- window state -------------------------------------------------------------------------

int Tfrm_mealbook::currentCorpus() const { return food_combo_corpus->keyValue().toInt(); }
QDate Tfrm_mealbook::currentDate() const { return food_calendar->date(); }
QString Tfrm_mealbook::currentDateText() const { return api::toShortDate(currentDate()); }

int Tfrm_mealbook::currentParalel() const {
    const int index = food_page_class->currentIndex();
    return index < 0 ? 0 : food_page_class->tabData(index).toInt();
}

int Tfrm_mealbook::currentClass() const {
    const int index = food_page_class_liter->currentIndex();
    return index < 0 ? 0 : food_page_class_liter->tabData(index).toInt();
}

int Tfrm_mealbook::current_pupil() const {
    if (!z_pay_list->isOpen() || z_pay_list->recordCount() == 0) return 0;
    return int(z_pay_list->field(QStringLiteral("account_id")).asInteger());
}

void Tfrm_mealbook::select_pupil(int accountId) {
    for (z_pay_list->first(); !z_pay_list->eof(); z_pay_list->next())
        if (z_pay_list->field(QStringLiteral("account_id")).asInteger() == accountId) return;
    z_pay_list->first();
}

void Tfrm_mealbook::remember_good_state() {
    lastGoodDate_ = currentDate();
    lastGoodCorpus_ = currentCorpus();
}

void Tfrm_mealbook::restore_good_state() {
    if (lastGoodDate_.isValid()) food_calendar->setDate(lastGoodDate_);
    if (lastGoodCorpus_) food_combo_corpus->setKeyValue(lastGoodCorpus_);
}

// --- reads of the current building and date ---------------------------------------------------

namespace {

// The first column of the only row, or null when there is no row.
QVariant firstValue(db::Query& query) {
    openLogged(query);
    return query.recordCount() == 0 || query.field(0).isNull() ? QVariant() : query.field(0).value();
}

}  // namespace

int Tfrm_mealbook::check_pay_list() {
    auto q = statement({QStringLiteral("select p.doc_no from pay_list p where p.entry_date = :on_date and corpus = :corpus_id")});
    q->param(QStringLiteral("on_date")).setDate(currentDate());
    q->param(QStringLiteral("corpus_id")).setInteger(currentCorpus());
    return firstValue(*q).toInt();
}

int Tfrm_mealbook::get_pay_list_number() {
    auto q = statement({QStringLiteral("select p.doc_no from pay_list p where p.entry_date = :on_date and corpus =:corpus_id")});
    q->param(QStringLiteral("on_date")).setDate(currentDate());
    q->param(QStringLiteral("corpus_id")).setInteger(currentCorpus());
    return firstValue(*q).toInt();
}

int Tfrm_mealbook::check_status_pay_list() {
    auto q = statement({QStringLiteral("select p.status as status from pay_list p where p.entry_date = :on_date and corpus = :corpus_id")});
    q->param(QStringLiteral("on_date")).setDate(currentDate());
    q->param(QStringLiteral("corpus_id")).setInteger(currentCorpus());
    return firstValue(*q).toInt();
}

int Tfrm_mealbook::analyst_check_status_pay_list() { return check_status_pay_list(); }

QDate Tfrm_mealbook::get_pay_list_date_per_number(int corpus, int doc_no) {
    auto q = statement({QStringLiteral("select p.entry_date from pay_list p where p.doc_no = :doc_no and corpus =:corpus_id")});
    q->param(QStringLiteral("doc_no")).setInteger(doc_no);
    q->param(QStringLiteral("corpus_id")).setInteger(corpus);
    return firstValue(*q).toDate();
}

QDate Tfrm_mealbook::get_recent_date_pay_list(int corpus) {
    auto q = statement({QStringLiteral("select pp.entry_date from pay_list pp where pp.entry_date in ("),
                        QStringLiteral("\tselect max(p.entry_date) from pay_list p where p.entry_date <= current_date and p.corpus = :corpus_id) ")});
    q->param(QStringLiteral("corpus_id")).setInteger(corpus);
    return firstValue(*q).toDate();
}

QDate Tfrm_mealbook::get_class_date(int corpus) {
    auto q = statement({QStringLiteral("select max(t1.entry_date) as entry_date from doc_class_in t1, ref_class t2"),
                        QStringLiteral("where t2.class_id = t1.class_id and t2.corpus = :corpus_id and t1.status = 4")});
    q->param(QStringLiteral("corpus_id")).setInteger(corpus);
    return firstValue(*q).toDate();
}

bool Tfrm_mealbook::is_child_yard(int corpus) {
    auto q = statement({QStringLiteral("select c.pay_list_report_id from ref_corpus c where  c.corpus_id = :corpus_id")});
    q->param(QStringLiteral("corpus_id")).setInteger(corpus);
    return firstValue(*q).toInt() != 8;
}

int Tfrm_mealbook::check_lock_pay_list(int corpus) {
    auto q = statement({QStringLiteral("select is_pay_list_blocked as res from ref_corpus where corpus_id = :id")});
    q->param(QStringLiteral("id")).setInteger(corpus);
    return firstValue(*q).toInt();
}

QString Tfrm_mealbook::get_blocked_admin_name(int corpus) {
    auto q = statement({QStringLiteral("select who_blocked as res from ref_corpus where corpus_id = :id")});
    q->param(QStringLiteral("id")).setInteger(corpus);
    return firstValue(*q).toString();
}

bool Tfrm_mealbook::exists_refused_pay_list_date(const QDate& date) {
    auto q = statement({QStringLiteral("select x_entry_date from dorv.get_refused_pay_list(:entry_date)")});
    q->param(QStringLiteral("entry_date")).setDate(date);
    openLogged(*q);
    return q->recordCount() > 0;
}

QString Tfrm_mealbook::get_note(int corpus, const QDate& date) {
    auto q = statement({QStringLiteral("select p.note from pay_list p where p.entry_date = :on_date and corpus = :corpus_id")});
    q->param(QStringLiteral("on_date")).setDate(date);
    q->param(QStringLiteral("corpus_id")).setInteger(corpus);
    return firstValue(*q).toString();
}

bool Tfrm_mealbook::is_show_balance() {
    auto q = statement({QStringLiteral("select p.property_value from ref_property p where p.name = 'show_balance' ")});
    return firstValue(*q).toString() != QLatin1String("0");
}

int Tfrm_mealbook::get_count_on_food() {
    auto q = statement({QStringLiteral("  select t3.account_id"),
                        QStringLiteral("from sys_matrix t1,public.human t3"),
                        QStringLiteral("where view = 1 and get_node_saldo(t1.node_id, :on_date, 0) <> 0"),
                        QStringLiteral(" and t1.account_id = t3.account_id"),
                        QStringLiteral(" and t1.paralel = :paralel_id "),
                        QStringLiteral("  \tand t1.class = :class_id "),
                        QStringLiteral("    and t1.account_id in"),
                        QStringLiteral("    ("),
                        QStringLiteral("    select t3.account_id"),
                        QStringLiteral("    from sys_matrix t1,public.human t3, pay_list_sp p2"),
                        QStringLiteral("where view = 1"),
                        QStringLiteral(" and get_node_saldo(t1.node_id, :on_date, 0) <> 0"),
                        QStringLiteral(" and t1.account_id = t3.account_id"),
                        QStringLiteral(" and t1.account_id = p2.account_id"),
                        QStringLiteral(" and t1.paralel = :paralel_id"),
                        QStringLiteral(" and t1.class = :class_id"),
                        QStringLiteral(" and p2.entry_date = :on_date and p2.attr = 1 )")});
    q->param(QStringLiteral("on_date")).setText(currentDateText());
    q->param(QStringLiteral("paralel_id")).setInteger(currentParalel());
    q->param(QStringLiteral("class_id")).setInteger(currentClass());
    openLogged(*q);
    return q->recordCount();
}

// --- tabs -------------------------------------------------------------------------------------

void Tfrm_mealbook::food_get_corpus() {
    api::Tapi_dm_lookups::get_list_corpus(*z_corpus);
    if (z_corpus->recordCount() > 0) food_combo_corpus->setCurrentIndex(0);
}

void Tfrm_mealbook::food_refresh_class() {
    db::Query list;
    api::logged(mealbook::kLogModule, [&] {
        api::Tapi_dm_lookups::get_list_parallel(list, currentCorpus(), currentDateText());
    });
    const QSignalBlocker quiet(food_page_class);
    while (food_page_class->count() > 0) food_page_class->removeTab(0);
    for (list.first(); !list.eof(); list.next()) {
        const int tab = food_page_class->addTab(list.field(QStringLiteral("paralel")).asString());
        food_page_class->setTabData(tab, int(list.field(QStringLiteral("paralel")).asInteger()));
    }
}

void Tfrm_mealbook::food_refresh_class_liter() {
    const QSignalBlocker quiet(food_page_class_liter);
    const auto clear = [this] {
        while (food_page_class_liter->count() > 0) food_page_class_liter->removeTab(0);
    };
    if (food_page_class->currentIndex() < 0) {
        clear();
        api::abortSilently();
    }
    db::Query list;
    api::logged(mealbook::kLogModule, [&] {
        api::Tapi_dm_lookups::get_list_class_name(list, currentCorpus(), QString::number(currentParalel()),
                                                  currentDateText());
    });
    clear();
    if (list.recordCount() == 0) api::abortSilently();
    for (list.first(); !list.eof(); list.next()) {
        const int tab = food_page_class_liter->addTab(list.field(QStringLiteral("name")).asString());
        food_page_class_liter->setTabData(tab, int(list.field(QStringLiteral("class_id")).asInteger()));
    }
}

void Tfrm_mealbook::refresh_tabs() {
    food_refresh_class();
    {
        const QSignalBlocker quiet(food_page_class);
        if (food_page_class->count() > 0) food_page_class->setCurrentIndex(0);
    }
    food_refresh_class_liter();
    const QSignalBlocker quiet(food_page_class_liter);
    if (food_page_class_liter->count() > 0) food_page_class_liter->setCurrentIndex(0);
}

bool Tfrm_mealbook::choose_building_with_classes() {
    db::Query all;
    api::logged(mealbook::kLogModule, [&] { api::Tapi_dm_lookups::get_list_all_parallel(all, currentDateText()); });
    if (all.recordCount() == 0) return false;
    for (z_corpus->first(); !z_corpus->eof(); z_corpus->next()) {
        const int corpus = int(z_corpus->field(QStringLiteral("corpus_id")).asInteger());
        db::Query parallels;
        api::logged(mealbook::kLogModule, [&] {
            api::Tapi_dm_lookups::get_list_parallel(parallels, corpus, currentDateText());
        });
        if (parallels.recordCount() > 0) {
            food_combo_corpus->setKeyValue(corpus);
            return true;
        }
    }
    return false;
}

void Tfrm_mealbook::food_page_classChange() {
    food_refresh_class_liter();
    {
        const QSignalBlocker quiet(food_page_class_liter);
        food_page_class_liter->setCurrentIndex(0);
    }
    get_pay_list();
}

void Tfrm_mealbook::food_page_class_literChange() { get_pay_list(); }

// --- the document -----------------------------------------------------------------------------

void Tfrm_mealbook::create_pay_list(int corpus) {
    auto q = statement({QStringLiteral("select insert_pay_list(:on_date, :corpus_id)")});
    q->param(QStringLiteral("on_date")).setText(currentDateText());
    q->param(QStringLiteral("corpus_id")).setInteger(corpus);
    openLogged(*q);
}

// An unposted document is brought up to date with the class roll whenever it is shown.
void Tfrm_mealbook::update_class_structure() {
    if (check_status_pay_list() != 4) create_pay_list(currentCorpus());
}

void Tfrm_mealbook::get_pay_list() {
    lbl_statistic->setText(QStringLiteral("Обработка данных.... "));
    z_pay_list->close();
    z_pay_list->clearSql();
    for (const char* line : {
             "select t3.account_id, t3.is_invalid, cast(public.check_privilege(t3.account_id, :on_date) as smallint) as is_700, cast(public.check_end_privelege_period(t3.account_id, :on_date) as smallint) as end_priv,",
             "cast(t3.last_name || ' '|| t3.first_name || ' ' || t3.middle_name as varchar(200)) as fio, cast(rd.name as varchar(500)) as name,",
             "p.attr,",
             "(select debt from public.calc_current_debt where account_id = t3.account_id),",
             "(select g.x_parent from public.get_price(p.daily_ration, :on_date,:paralel_id) g) as ovz,",
             "(select g.x_dorv from public.get_price(p.daily_ration,:on_date,:paralel_id) g) as parrent,",
             "(select g.x_privilege from public.get_price(p.daily_ration,:on_date,:paralel_id) g) as privilege,",
             "(select g.x_subsidy from public.get_price(p.daily_ration,:on_date,:paralel_id) g) as dor_v,",
             "(select g.x_ovz from public.get_price(p.daily_ration,:on_date,:paralel_id) g) as subsidy,",
             "(select g.x_staff from public.get_price(p.daily_ration,:on_date,:paralel_id) g) as staff,",
             "(select g.x_found_junior from public.get_price(p.daily_ration,:on_date,:paralel_id) g) as junior,",
             "(select g.x_found_mob from public.get_price(p.daily_ration,:on_date,:paralel_id) g) as mob,",
             "(select g.x_found_fam from public.get_price(p.daily_ration,:on_date,:paralel_id) g) as fam,",
             "(select cast(COALESCE(NULLIF(g2.x_ovz,null),'0') + ",
             "COALESCE(NULLIF(g2.x_parent,null),'0') + ",
             "COALESCE(NULLIF(g2.x_privilege,null),'0') + ",
             "COALESCE(NULLIF(g2.x_dorv,null),'0') + ",
             "COALESCE(NULLIF(g2.x_subsidy,null),'0') +",
             "COALESCE(NULLIF(g2.x_found_junior,null),'0') +",
             "COALESCE(NULLIF(g2.x_found_mob,null),'0') +",
             "COALESCE(NULLIF(g2.x_found_fam,null),'0') +",
             "COALESCE(NULLIF(g2.x_staff,null),'0') as numeric(8,2)) as total ",
             "from public.get_price(p.daily_ration,:on_date,:paralel_id) g2)",
             "from public.ref_daily_ration rd, ",
             " sys_matrix t1,",
             "public.human t3, pay_list_sp p, pay_list pp",
             "\twhere view = 1 and get_node_saldo(t1.node_id, :on_date, 0) <> 0 ",
             "\tand p.doc_no = pp.doc_no",
             "\tand t1.account_id = t3.account_id",
             "  and p.account_id = t3.account_id",
             "  and rd.daily_ration_id = p.daily_ration",
             "and t1.paralel = :paralel_id",
             " and t1.class = :class_id",
             "  and p.entry_date = :on_date",
             "  and pp.corpus = :corpus_id",
             " order by t3.last_name asc"})
        z_pay_list->addSql(QString::fromUtf8(line));
    z_pay_list->setConnection(&api::connection());
    z_pay_list->param(QStringLiteral("on_date")).setText(currentDateText());
    z_pay_list->param(QStringLiteral("paralel_id")).setInteger(currentParalel());
    z_pay_list->param(QStringLiteral("class_id")).setInteger(currentClass());
    z_pay_list->param(QStringLiteral("corpus_id")).setInteger(currentCorpus());
    openLogged(*z_pay_list);
    show_doc_state();
    show_count_on_food();
    paint_list();
}

void Tfrm_mealbook::show_doc_state() {
    const int number = get_pay_list_number();
    status_ = check_status_pay_list();
    const QString numberText = number ? QString::number(number) : QString();
    lbl_doc_no->setText(QStringLiteral(" ") + numberText +
                        (status_ != 0 ? QStringLiteral(" проведен") : QStringLiteral(" не проведен")));
}

void Tfrm_mealbook::show_count_on_food() {
    lbl_statistic->setText(QStringLiteral("Учеников к классе ") + QString::number(z_pay_list->recordCount()) +
                           QStringLiteral(" / Установлено - ") + QString::number(get_count_on_food()));
}

void Tfrm_mealbook::show_note() { note_memo->setPlainText(get_note(currentCorpus(), currentDate())); }

void Tfrm_mealbook::set_child_yard_flag() {
    childYard_ = is_child_yard(currentCorpus());
    btn_orders->setEnabled(childYard_);
}

// --- choosing a building or a date --------------------------------------------------------------

void Tfrm_mealbook::food_combo_corpusCloseUp() {
    const int corpus = currentCorpus();
    const int status = check_status_pay_list();
    food_refresh_class();
    if (food_page_class->count() == 0) {
        const QDate classDate = get_class_date(corpus);
        if (api::ask(QStringLiteral("Невозможно создать ведомость на ") + currentDateText() +
                     QStringLiteral(" так как не найден состав учащихся в корпусе на указанную дату ") + QStringLiteral("\r") +
                     QStringLiteral("Сформированный списочный состав имеется на ") + api::toShortDate(classDate) +
                     QStringLiteral(" Создать ведомость ?"))) {
            food_calendar->setDate(classDate);
            refresh_tabs();
            create_pay_list(corpus);
            if (status == 0) update_class_structure();
            get_pay_list();
        } else {
            food_get_corpus();
            restore_good_state();
            refresh_tabs();
            if (status == 0) update_class_structure();
            get_pay_list();
        }
        show_note();
        return;
    }
    if (check_pay_list() == 0) {
        if (api::ask(QStringLiteral("Нет созданной ведомости на дату ") + currentDateText() +
                     QStringLiteral(" Создать ведомость ? "))) {
            refresh_tabs();
            create_pay_list(corpus);
            get_pay_list();
            remember_good_state();
        } else {
            food_get_corpus();
            restore_good_state();
            refresh_tabs();
            update_class_structure();
            get_pay_list();
        }
        show_note();
        return;
    }
    refresh_tabs();
    update_class_structure();
    get_pay_list();
    remember_good_state();
    show_note();
    set_child_yard_flag();
}

void Tfrm_mealbook::food_calendarCloseUp() {
    const int status = check_status_pay_list();
    {
        const QSignalBlocker quiet(food_page_class_liter);
        if (food_page_class_liter->count() > 0) food_page_class_liter->setCurrentIndex(0);
    }
    if (check_pay_list() == 0) {
        if (api::ask(QStringLiteral("Нет созданной ведомости на ") + currentDateText() +
                     QStringLiteral(" Создать ведомость ? "))) {
            create_pay_list(currentCorpus());
            get_pay_list();
            remember_good_state();
        } else {
            const QSignalBlocker quiet(food_calendar);
            food_calendar->setDate(lastGoodDate_);
            update_class_structure();
            get_pay_list();
        }
        return;
    }
    refresh_tabs();
    if (status == 0) update_class_structure();
    get_pay_list();
    remember_good_state();
    show_note();
}
