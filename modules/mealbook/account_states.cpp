// The account-state tab: every pupil's balance with filters by sign and building, a search
// by any column and the export of what the filters show.

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "abort.h"
#include "acc_food.h"
#include "app_error.h"
#include "dialogs/db_lookup_combo.h"
#include "dialogs/russian_layout_on_click.h"
#include "dm_api.h"
#include "lookups/fixed_decimals_delegate.h"
#include "mealbook_db.h"
#include "reports/dm_api_reports.h"
#include "messages.h"
#include "query.h"
#include "session.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"

namespace {

// A title row where one title, the search column's, is bold. The bold section is kept in
// the property "boldSection" (-1 for none).
class SearchTitleHeader : public QHeaderView {
public:
    explicit SearchTitleHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        setProperty("boldSection", -1);
        setSectionsClickable(true);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        painter->save();
        QFont font = painter->font();
        font.setBold(property("boldSection").toInt() == logicalIndex);
        painter->setFont(font);
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
    }
};

struct DebtColumn {
    const char* field;
    const char* title;
};
const DebtColumn kDebtColumns[] = {
    {"edu_org", "Код ОУ"},    {"corpus", "Корпус"},   {"paralel", "Параллель"},
    {"class", "Класс"},       {"account_id", "№ Счета"}, {"last_name", "Фамилия"},
    {"first_name", "Имя"},    {"middle_name", "Отчество"}, {"last_date", "Дата последнего питания"},
    {"debt", "Баланс"},
};

bool passesSign(const QString& expression, double debt) {
    if (expression == QLatin1String("above")) return debt >= 0;   // "debt >= 0"
    if (expression == QLatin1String("below")) return debt < 0;    // "debt < 0"
    return debt <= -0.01 || debt >= 0.01;                         // "debt <= -0.01 or debt >= 0.01"
}

}  // namespace

QWidget* Tfrm_mealbook::buildAccountStatesTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page_account_states"));

    z_corpus_debt = new db::Query(this);
    z_corpus_debt->setObjectName(QStringLiteral("z_corpus_debt"));
    z_corpus_debt->addSql(QStringLiteral("select cast('0' as varchar(90)) as note, cast('Все'as varchar(90)) as name union all select cast(note as varchar(90)) as note, cast(name as varchar(90)) as name from ref_corpus "));
    db_corpus_debt = new api::DbLookupCombo(page);
    db_corpus_debt->setObjectName(QStringLiteral("db_corpus_debt"));
    db_corpus_debt->setQuery(z_corpus_debt, QStringLiteral("note"), QStringLiteral("name"));
    db_corpus_debt->setMinimumWidth(280);
    connect(db_corpus_debt, &QComboBox::activated, this, &Tfrm_mealbook::db_corpus_debtCloseUp);

    lbl_field = new QLabel(QStringLiteral("Фамилия"), page);
    lbl_field->setObjectName(QStringLiteral("lbl_field"));
    ed_school_debt = new QLineEdit(page);
    ed_school_debt->setObjectName(QStringLiteral("ed_school_debt"));
    api::RussianLayoutOnClick::install(ed_school_debt);
    btn_filter_go = new QPushButton(QStringLiteral("Установить"), page);
    btn_filter_go->setObjectName(QStringLiteral("btn_filter_go"));
    btn_filert_undo = new QPushButton(QStringLiteral("Снять"), page);
    btn_filert_undo->setObjectName(QStringLiteral("btn_filert_undo"));
    connect(btn_filter_go, &QPushButton::clicked, this, &Tfrm_mealbook::btn_filter_goClick);
    connect(btn_filert_undo, &QPushButton::clicked, this, &Tfrm_mealbook::btn_filert_undoClick);

    radio_button_above = new QRadioButton(QStringLiteral("Положительные"), page);
    radio_button_above->setObjectName(QStringLiteral("radio_button_above"));
    radio_button_belowe = new QRadioButton(QStringLiteral("Отрицательные"), page);
    radio_button_belowe->setObjectName(QStringLiteral("radio_button_belowe"));
    radio_button_both = new QRadioButton(QStringLiteral("Все"), page);
    radio_button_both->setObjectName(QStringLiteral("radio_button_both"));
    radio_button_both->setChecked(true);
    connect(radio_button_above, &QRadioButton::toggled, this, [this](bool on) { if (on) radio_button_aboveClick(); });
    connect(radio_button_belowe, &QRadioButton::toggled, this, [this](bool on) { if (on) radio_button_beloweClick(); });
    connect(radio_button_both, &QRadioButton::toggled, this, [this](bool on) { if (on) radio_button_bothClick(); });

    SpeedButton1 = new QToolButton(page);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Excel"));
    SpeedButton1->setToolTip(QStringLiteral("Импорт в Excel"));
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_mealbook::SpeedButton1Click);
    lbl_max_calc_date = new QLabel(page);
    lbl_max_calc_date->setObjectName(QStringLiteral("lbl_max_calc_date"));

    z_debt_school = new db::Query(this);
    z_debt_school->setObjectName(QStringLiteral("z_debt_school"));
    // A row is shown when its balance passes the chosen sign and its search column begins
    // with the search text, in any letter case.
    z_debt_school->setFilter([this](const db::Query& q) {
        if (!passesSign(debtFilter_, q.field(QStringLiteral("debt")).asFloat())) return false;
        const QString text = ed_school_debt->text().toUpper();
        if (text.isEmpty()) return true;
        return q.field(searchField_).asString().toUpper().startsWith(text);
    });
    debt_school = new api::DbGrid(page);
    debt_school->setObjectName(QStringLiteral("debt_school"));
    debt_school->setHorizontalHeader(new SearchTitleHeader(debt_school));
    debt_school->setQuery(z_debt_school);
    debt_school->setReadOnly(true);
    debt_school->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(debt_school->horizontalHeader(), &QHeaderView::sectionClicked, this, &Tfrm_mealbook::debt_schoolTitleClick);
    nav_debt_school = new api::DbNavigator(page);
    nav_debt_school->setObjectName(QStringLiteral("nav_debt_school"));
    nav_debt_school->setQuery(z_debt_school);
    using N = api::DbNavigator;
    nav_debt_school->setVisibleButtons({N::First, N::Prior, N::Next, N::Last});

    popup_filter = new QMenu(this);
    popup_filter->setObjectName(QStringLiteral("popup_filter"));
    QMenu* filter = popup_filter->addMenu(QStringLiteral("Фильтр"));
    N6 = filter->addAction(QStringLiteral("Установить"));
    N6->setObjectName(QStringLiteral("N6"));
    N7 = filter->addAction(QStringLiteral("Снять"));
    N7->setObjectName(QStringLiteral("N7"));
    N9 = popup_filter->addAction(QStringLiteral("Детализация счета"));
    N9->setObjectName(QStringLiteral("N9"));
    connect(N6, &QAction::triggered, this, &Tfrm_mealbook::btn_filter_goClick);
    connect(N7, &QAction::triggered, this, &Tfrm_mealbook::btn_filert_undoClick);
    connect(N9, &QAction::triggered, this, &Tfrm_mealbook::N9Click);
    debt_school->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(debt_school, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popup_filter->popup(debt_school->viewport()->mapToGlobal(pos)); });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Корпус"), page));
    top->addWidget(db_corpus_debt);
    top->addSpacing(12);
    top->addWidget(lbl_field);
    top->addWidget(ed_school_debt);
    top->addWidget(btn_filter_go);
    top->addWidget(btn_filert_undo);
    top->addSpacing(12);
    top->addWidget(radio_button_above);
    top->addWidget(radio_button_belowe);
    top->addWidget(radio_button_both);
    top->addWidget(SpeedButton1);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(lbl_max_calc_date);
    layout->addWidget(debt_school, 1);
    layout->addWidget(nav_debt_school, 0, Qt::AlignLeft);
    return page;
}

void Tfrm_mealbook::get_debt_school() {
    z_debt_school->close();
    z_debt_school->clearSql();
    z_debt_school->setConnection(&api::connection());
    z_debt_school->addSql(QStringLiteral("select edu_org, corpus, paralel, class, account_id, last_name, first_name, middle_name, last_date, debt from public.calc_current_debt where edu_org = :school and (corpus = :note_id or (:par_corpus_all = 0)) order by edu_org, corpus, paralel, class"));
    const QString note = db_corpus_debt->keyValue().toString();
    const bool all = note.isEmpty() || note == QLatin1String("0");
    z_debt_school->param(QStringLiteral("school")).setText(api::userName());
    z_debt_school->param(QStringLiteral("note_id")).setText(note);
    z_debt_school->param(QStringLiteral("par_corpus_all")).setInteger(all ? 0 : 1);
    mealbook::openLogged(*z_debt_school);
    for (const DebtColumn& column : kDebtColumns)
        debt_school->setColumnTitle(QString::fromLatin1(column.field), QString::fromUtf8(column.title));
    debt_school->setColumnWidthByName(QStringLiteral("debt"), 80);
    const int debtColumn = debt_school->columnOf(QStringLiteral("debt"));
    if (debtColumn >= 0) debt_school->setItemDelegateForColumn(debtColumn, new api::FixedDecimalsDelegate(2, debt_school));
}

void Tfrm_mealbook::db_corpus_debtCloseUp() { get_debt_school(); }

void Tfrm_mealbook::reset_debt_titles() {
    debt_school->horizontalHeader()->setProperty("boldSection", -1);
    debt_school->horizontalHeader()->viewport()->update();
}

void Tfrm_mealbook::set_search_field(int column) {
    if (column < 0 || column >= z_debt_school->fieldCount()) return;
    debt_school->horizontalHeader()->setProperty("boldSection", column);
    debt_school->horizontalHeader()->viewport()->update();
    searchField_ = z_debt_school->fieldName(column);
    lbl_field->setText(debt_school->model()->headerData(column, Qt::Horizontal).toString());
}

void Tfrm_mealbook::debt_schoolTitleClick(int column) {
    reset_debt_titles();
    set_search_field(column);
    ed_school_debt->setFocus();
}

void Tfrm_mealbook::apply_debt_filter(const QString& expression) {
    debtFilter_ = expression;
    z_debt_school->setFiltered(false);
    z_debt_school->setFiltered(true);
}

void Tfrm_mealbook::radio_button_aboveClick() { apply_debt_filter(QStringLiteral("above")); }
void Tfrm_mealbook::radio_button_beloweClick() { apply_debt_filter(QStringLiteral("below")); }
void Tfrm_mealbook::radio_button_bothClick() { apply_debt_filter(QStringLiteral("both")); }

void Tfrm_mealbook::btn_filter_goClick() {
    if (ed_school_debt->text().trimmed().isEmpty()) {
        api::error(QStringLiteral("Не указан текст, по которому будет проводиться поиск"));
        api::abortSilently();
    }
    if (searchField_ == QLatin1String("last_name")) {
        reset_debt_titles();
        set_search_field(debt_school->columnOf(QStringLiteral("last_name")));
    }
    z_debt_school->setFiltered(false);
    z_debt_school->setFiltered(true);
}

void Tfrm_mealbook::btn_filert_undoClick() {
    reset_debt_titles();
    ed_school_debt->clear();
    searchField_ = QStringLiteral("last_name");
    z_debt_school->setFiltered(false);
    z_debt_school->first();
    if (radio_button_above->isChecked())
        apply_debt_filter(QStringLiteral("above"));
    else if (radio_button_belowe->isChecked())
        apply_debt_filter(QStringLiteral("below"));
    set_search_field(debt_school->columnOf(QStringLiteral("last_name")));
}

void Tfrm_mealbook::SpeedButton1Click() {
    if (!api::Tapi_dm::IsOLEObjectInstalled(QStringLiteral("Excel.Application"))) {
        api::warning(QStringLiteral("На компьютере не установлен MS Excel, для корректной работы необходимо установить как минимум MS Excel 2003 "));
        api::abortSilently();
    }
    if (z_debt_school->recordCount() == 0) {
        api::warning(QStringLiteral("Список пуст. Попробуйте изменить критерии поиска и повторите попытку."));
        api::abortSilently();
    }
    {
        const QSignalBlocker frozen(debt_school);
        debt_school->setUpdatesEnabled(false);
        try {
            api::Tapi_dm_reports::xlTransmitDataset(z_debt_school, QStringLiteral("dorvpupildebt.xlt"));
        } catch (...) {
            debt_school->setUpdatesEnabled(true);
            throw;
        }
        debt_school->setUpdatesEnabled(true);
    }
    z_debt_school->first();
}
