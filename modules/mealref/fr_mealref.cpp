#include "fr_mealref.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QVBoxLayout>

#include "abort.h"
#include "dates.h"
#include "dialog_tag.h"
#include "dialogs/Shared_dlg.h"
#include "logged_action.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "typed_cell.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"

DORV_REGISTER_CLASS(Tfrm_mealref);

namespace {

const QString kLogModule = QStringLiteral("mealref");

// Price columns: field, grid title, statement parameter.
struct PricePart {
    const char* field;
    const char* title;
    const char* param;
};
const PricePart kPriceParts[] = {
    {"parent", "СЗП", "parent"},  {"dorv", "КШП", "dorv"}, {"privilege", "Л", "priv"},
    {"subsidy", "Б", "subsidy"},  {"ovz", "ОВЗ", "ovz"},   {"staff", "ПС", "staff"},
    {"junior", "ПМК", "junior"},
};

QString s(const char* text) { return QString::fromUtf8(text); }

qint64 currentInteger(const db::Query& query, const QString& field) {
    if (!query.isOpen() || query.recordCount() == 0 || query.fieldIndex(field) < 0) return 0;
    return query.field(field).asInteger();
}

api::DbNavigator* editingNavigator(QWidget* parent, db::Query* query, const QString& name) {
    auto* navigator = new api::DbNavigator(parent);
    navigator->setObjectName(name);
    navigator->setQuery(query);
    using N = api::DbNavigator;
    navigator->setVisibleButtons({N::Insert, N::Delete, N::Edit, N::Post, N::Cancel});
    return navigator;
}

// The reference picker of the shared dialogs over the meal types; false when the user
// closes it without choosing.
bool pickMealType(QWidget* owner, QVariant& id, QVariant& name) {
    QPointer<api::Tfrm_ref_sel> dialog =
        qobject_cast<api::Tfrm_ref_sel*>(api::createByClassName(QStringLiteral("Tfrm_ref_sel"), owner));
    if (!dialog) throw api::AppError(QStringLiteral("Класс Tfrm_ref_sel не зарегистрирован"));
    db::Query* z_ref = dialog->z_ref;
    z_ref->setConnection(&api::connection());
    dialog->set_query(QStringLiteral(
        "select ft.food_type_id, ft.name from mealref_type ft where(lower(ft.name) like lower(:par_name) or "
        "(:par_name_all = 0))"));
    z_ref->param(QStringLiteral("par_name_all")).setInteger(0);
    api::logged(kLogModule, [&] {
        dialog->run_query(QStringLiteral("Код"), QStringLiteral("Тип рациона"), 50, 150);
    });
    dialog->exec();
    if (!dialog) return false;
    const bool chosen = api::tagOf(dialog->btn_select) == api::kTagSelected && z_ref->recordCount() > 0;
    if (chosen) {
        id = z_ref->field(QStringLiteral("food_type_id")).value();
        name = z_ref->field(QStringLiteral("name")).value();
    }
    return chosen;  // the picker frees itself
}

}  // namespace

Tfrm_mealref::Tfrm_mealref(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frm_mealref"));
    setWindowTitle(QStringLiteral("Справочник типов питания"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);  // freed when closed

    const auto makeQuery = [this](const QString& name) {
        auto* query = new db::Query(this);
        query->setObjectName(name);
        return query;
    };
    z_q_main = makeQuery(QStringLiteral("z_q_main"));
    z_daily_ration_sp = makeQuery(QStringLiteral("z_daily_ration_sp"));
    z_date = makeQuery(QStringLiteral("z_date"));
    z_price = makeQuery(QStringLiteral("z_price"));
    for (db::Query* editable : {z_q_main, z_daily_ration_sp, z_price}) editable->setCachedUpdates(true);

    z_q_main->beforePost = [this](db::Query& q) { z_q_mainBeforePost(q); };
    z_q_main->beforeDelete = [this](db::Query& q) { z_q_mainBeforeDelete(q); };
    z_daily_ration_sp->beforePost = [this](db::Query& q) { z_daily_ration_spBeforePost(q); };
    z_daily_ration_sp->beforeDelete = [this](db::Query& q) { z_daily_ration_spBeforeDelete(q); };
    connect(z_daily_ration_sp, &db::Query::recordInserted, this, [this] { z_daily_ration_spAfterInsert(); });
    z_price->beforeInsert = [this](db::Query& q) { z_priceBeforeInsert(q); };
    z_price->beforePost = [this](db::Query& q) { z_priceBeforePost(q); };
    z_price->beforeDelete = [this](db::Query& q) { z_priceBeforeDelete(q); };

    const auto makeGrid = [this](const QString& name, db::Query* query) {
        auto* grid = new api::DbGrid(this);
        grid->setObjectName(name);
        grid->setQuery(query);
        return grid;
    };
    DBGrid1 = makeGrid(QStringLiteral("DBGrid1"), z_q_main);
    grid_ration_sp = makeGrid(QStringLiteral("grid_ration_sp"), z_daily_ration_sp);
    grid_price = makeGrid(QStringLiteral("grid_price"), z_price);
    nav_main = editingNavigator(this, z_q_main, QStringLiteral("nav_main"));
    nav_ration_sp = editingNavigator(this, z_daily_ration_sp, QStringLiteral("nav_ration_sp"));
    nav_price = editingNavigator(this, z_price, QStringLiteral("nav_price"));

    lbl_date = new QLabel(QStringLiteral("Фильтр по дате"), this);
    lbl_date->setObjectName(QStringLiteral("lbl_date"));
    lockup_date = new QComboBox(this);
    lockup_date->setObjectName(QStringLiteral("lockup_date"));

    popup_main_ref = new QMenu(this);
    popup_main_ref->setObjectName(QStringLiteral("popup_main_ref"));
    L1 = popup_main_ref->addAction(QStringLiteral("Добавить"), this, &Tfrm_mealref::L1Click);
    N1 = popup_main_ref->addAction(QStringLiteral("Изменить"), this, &Tfrm_mealref::N1Click);
    N2 = popup_main_ref->addAction(QStringLiteral("Удалить"), this, &Tfrm_mealref::N2Click);
    N3 = popup_main_ref->addAction(QStringLiteral("Обновить"), this, &Tfrm_mealref::N3Click);
    L1->setObjectName(QStringLiteral("L1"));
    N1->setObjectName(QStringLiteral("N1"));
    N2->setObjectName(QStringLiteral("N2"));
    N3->setObjectName(QStringLiteral("N3"));
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_main_ref->popup(DBGrid1->viewport()->mapToGlobal(at)); });

    connect(DBGrid1, &QAbstractItemView::clicked, this, &Tfrm_mealref::DBGrid1CellClick);
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &Tfrm_mealref::DBGrid1TitleClick);
    connect(grid_ration_sp, &QAbstractItemView::clicked, this, &Tfrm_mealref::grid_ration_spCellClick);
    connect(grid_price, &QAbstractItemView::clicked, this, &Tfrm_mealref::grid_priceCellClick);
    connect(lockup_date, &QComboBox::activated, this, &Tfrm_mealref::lockup_dateCloseUp);

    // left: rations; right: the ration's meal types, the date filter, the prices
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(DBGrid1, 1);
    leftLayout->addWidget(nav_main);
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(grid_ration_sp, 1);
    rightLayout->addWidget(nav_ration_sp);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(lbl_date);
    dateRow->addWidget(lockup_date, 1);
    rightLayout->addLayout(dateRow);
    rightLayout->addWidget(grid_price, 1);
    rightLayout->addWidget(nav_price);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(left);
    splitter->addWidget(right);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(splitter);

    FormCreate();
}

void Tfrm_mealref::FormCreate() {
    for (db::Query* query : {z_q_main, z_daily_ration_sp, z_date, z_price}) query->setConnection(&api::connection());
    refresh_root(QStringLiteral("daily_ration_id"));
    refresh_ration();
    eject_date();
    refresh_food_price_spec();
}

int Tfrm_mealref::currentRation() const { return int(currentInteger(*z_q_main, QStringLiteral("daily_ration_id"))); }

int Tfrm_mealref::currentFoodType() const {
    return int(currentInteger(*z_daily_ration_sp, QStringLiteral("food_type_id")));
}

// ------------------------------------------------------------------ reading

void Tfrm_mealref::refresh_root(const QString& orderField) {
    z_q_main->close();
    z_q_main->clearSql();
    z_q_main->addSql(QStringLiteral("select daily_ration_id, name from ref_daily_ration where  disabled = 0 order by ") +
                     orderField);
    api::logged(kLogModule, [this] { z_q_main->open(); });
    DBGrid1->setColumnTitle(QStringLiteral("daily_ration_id"), QStringLiteral("ID"));
    DBGrid1->setColumnWidthByName(QStringLiteral("daily_ration_id"), 50);
    DBGrid1->setColumnTitle(QStringLiteral("name"), QStringLiteral("Наименование"));
    DBGrid1->setColumnWidthByName(QStringLiteral("name"), 400);
}

void Tfrm_mealref::refresh_ration() {
    const int ration = currentRation();
    z_daily_ration_sp->close();
    z_daily_ration_sp->clearSql();
    z_daily_ration_sp->addSql(QStringLiteral(
        "select distinct ft.food_type_id, cast(ft.name as varchar(200)) as name from ref_daily_ration_sp r_sp, "
        "mealref_type ft where r_sp.food_type = ft.food_type_id"));
    z_daily_ration_sp->addSql(QStringLiteral("and r_sp.daily_ration =:ration_id"));
    z_daily_ration_sp->param(QStringLiteral("ration_id")).setInteger(ration);
    api::logged(kLogModule, [this] { z_daily_ration_sp->open(); });
    grid_ration_sp->setColumnTitle(QStringLiteral("food_type_id"), QStringLiteral("Тип питания"));
    grid_ration_sp->setColumnWidthByName(QStringLiteral("food_type_id"), 100);
    grid_ration_sp->setColumnTitle(QStringLiteral("name"), QStringLiteral("Рацион"));
    grid_ration_sp->setColumnWidthByName(QStringLiteral("name"), 400);
}

void Tfrm_mealref::eject_date() {
    const int foodType = currentFoodType();
    z_date->close();
    z_date->clearSql();
    z_date->addSql(QStringLiteral(" select distinct p.actual_date from mealref_price p"));
    z_date->addSql(QStringLiteral("where p.food_type = :food_type"));
    z_date->addSql(QStringLiteral("order by p.actual_date desc"));
    z_date->param(QStringLiteral("food_type")).setInteger(foodType);
    api::logged(kLogModule, [this] { z_date->open(); });
    lockup_date->clear();
    for (z_date->first(); !z_date->eof(); z_date->next()) {
        const QDate date = z_date->field(QStringLiteral("actual_date")).asDate();
        lockup_date->addItem(api::toShortDate(date), date);
    }
    lockup_date->setCurrentIndex(lockup_date->count() ? 0 : -1);
}

void Tfrm_mealref::refresh_food_price_spec() {
    const QDate chosen = lockup_date->currentData().toDate();
    z_price->close();
    z_price->clearSql();
    z_price->addSql(QStringLiteral(
        "select r_fp.actual_date, r_fp.paralel_min as min_paralel, r_fp.paralel_max as max_paralel,"));
    z_price->addSql(QStringLiteral("r_fp.parent, r_fp.dorv, r_fp.privilege, r_fp.subsidy, r_fp.ovz, r_fp.staff, r_fp.junior"));
    z_price->addSql(QStringLiteral("from mealref_price r_fp"));
    z_price->addSql(QStringLiteral("where r_fp.food_type = :food_type"));
    z_price->addSql(QStringLiteral("and r_fp.actual_date = :act_date"));
    z_price->param(QStringLiteral("food_type")).setInteger(currentFoodType());
    z_price->param(QStringLiteral("act_date")).setDateTime(chosen.isValid() ? chosen.startOfDay() : QDateTime());
    api::logged(kLogModule, [this] { z_price->open(); });
    grid_price->setColumnTitle(QStringLiteral("actual_date"), QStringLiteral("Дата"));
    grid_price->setColumnWidthByName(QStringLiteral("actual_date"), 65);
    grid_price->setColumnTitle(QStringLiteral("min_paralel"), QStringLiteral("Мин параллель"));
    grid_price->setColumnWidthByName(QStringLiteral("min_paralel"), 90);
    grid_price->setColumnTitle(QStringLiteral("max_paralel"), QStringLiteral("Макс параллель"));
    grid_price->setColumnWidthByName(QStringLiteral("max_paralel"), 90);
    for (const PricePart& part : kPriceParts) {
        grid_price->setColumnTitle(s(part.field), s(part.title));
        grid_price->setColumnWidthByName(s(part.field), 60);
    }
    z_price->first();
    rememberParalelRange();
}

void Tfrm_mealref::rememberParalelRange() {
    oldMinParalel_ = int(currentInteger(*z_price, QStringLiteral("min_paralel")));
    oldMaxParalel_ = int(currentInteger(*z_price, QStringLiteral("max_paralel")));
}

// ------------------------------------------------------------------ rations

void Tfrm_mealref::z_q_mainBeforePost(db::Query& dataset) {
    const QVariant name = dataset.field(QStringLiteral("name")).value();
    db::Query statement(&api::connection());
    if (dataset.state() == db::Query::State::Insert) {
        statement.addSql(QStringLiteral("insert into ref_daily_ration (daily_ration_id,name,disabled) values (:id, :name, 0) "));
        const QVariant id = dataset.field(QStringLiteral("daily_ration_id")).value();
        if (id.isNull() || id.toString().trimmed().isEmpty()) statement.param(QStringLiteral("id")).setNull();
        else statement.param(QStringLiteral("id")).setInteger(mealref::wholeNumber(id, QStringLiteral("ID")));
    } else if (dataset.state() == db::Query::State::Edit) {
        statement.addSql(QStringLiteral("update ref_daily_ration  set name = :name where daily_ration_id = :id"));
        statement.param(QStringLiteral("id")).setInteger(currentInteger(dataset, QStringLiteral("daily_ration_id")));
    } else {
        return;
    }
    if (name.isNull()) statement.param(QStringLiteral("name")).setNull();
    else statement.param(QStringLiteral("name")).setText(name.toString());
    api::logged(kLogModule, [&statement] { statement.exec(); });
}

void Tfrm_mealref::z_q_mainBeforeDelete(db::Query& dataset) {
    db::Query statement(&api::connection());
    statement.addSql(QStringLiteral("update ref_daily_ration  set disabled = 1 where daily_ration_id = :id"));
    statement.param(QStringLiteral("id")).setInteger(currentInteger(dataset, QStringLiteral("daily_ration_id")));
    api::logged(kLogModule, [&statement] { statement.exec(); });
}

// ------------------------------------------------------------------ meal types of a ration

void Tfrm_mealref::z_daily_ration_spAfterInsert() {
    QVariant id, name;
    if (!pickMealType(this, id, name)) return;
    z_daily_ration_sp->field(QStringLiteral("food_type_id")).setValue(id);
    z_daily_ration_sp->field(QStringLiteral("name")).setValue(name);
}

void Tfrm_mealref::z_daily_ration_spBeforePost(db::Query& dataset) {
    if (dataset.state() != db::Query::State::Insert) return;
    db::Query statement(&api::connection());
    statement.addSql(QStringLiteral("insert into ref_daily_ration_sp (daily_ration,food_type) values (:id, :food_type) "));
    statement.param(QStringLiteral("id")).setInteger(currentRation());
    const QVariant foodType = dataset.field(QStringLiteral("food_type_id")).value();
    if (foodType.isNull()) statement.param(QStringLiteral("food_type")).setNull();
    else statement.param(QStringLiteral("food_type")).setInteger(mealref::wholeNumber(foodType, QStringLiteral("Тип питания")));
    api::logged(kLogModule, [&statement] { statement.exec(); });
}

void Tfrm_mealref::z_daily_ration_spBeforeDelete(db::Query& dataset) {
    db::Query statement(&api::connection());
    statement.addSql(QStringLiteral("delete from ref_daily_ration_sp where daily_ration = :id and food_type = :food_type  "));
    statement.param(QStringLiteral("id")).setInteger(currentRation());
    statement.param(QStringLiteral("food_type")).setInteger(currentInteger(dataset, QStringLiteral("food_type_id")));
    api::logged(kLogModule, [&statement] { statement.exec(); });
}

// ------------------------------------------------------------------ prices

void Tfrm_mealref::z_priceBeforeInsert(db::Query&) {
    if (z_daily_ration_sp->recordCount() == 0) {
        api::warning(QStringLiteral("Отсутствует тип питания, перед указанием спецификации добавьте хотя бы 1 тип "
                                    "питания и повторите попытку. "));
        api::abortSilently();
    }
}

void Tfrm_mealref::z_priceBeforePost(db::Query& dataset) {
    const bool inserting = dataset.state() == db::Query::State::Insert;
    if (!inserting && dataset.state() != db::Query::State::Edit) return;
    // what was typed, read before anything is sent
    const auto value = [&dataset](const QString& field) { return dataset.field(field).value(); };
    const QDate date = mealref::cellDate(value(QStringLiteral("actual_date")), QStringLiteral("Дата"));
    const qint64 minParalel = mealref::wholeNumber(value(QStringLiteral("min_paralel")), QStringLiteral("Мин параллель"));
    const qint64 maxParalel = mealref::wholeNumber(value(QStringLiteral("max_paralel")), QStringLiteral("Макс параллель"));
    QList<qint64> parts;
    for (const PricePart& part : kPriceParts) parts << mealref::wholeNumber(value(s(part.field)), s(part.title));

    db::Query statement(&api::connection());
    if (inserting) {
        statement.addSql(QStringLiteral(
            "insert into mealref_price (actual_date,food_type,paralel_min,paralel_max,parent,dorv,privilege,subsidy,ovz,"
            "staff, junior) values (:act_date,:food_type,:min_p,:max_p,:parent,:dorv,:priv,:subsidy,:ovz,:staff,:junior) "));
        statement.param(QStringLiteral("act_date")).setDate(date);
    } else {
        statement.addSql(QStringLiteral("update mealref_price  set"));
        statement.addSql(QStringLiteral("parent = :parent,"));
        statement.addSql(QStringLiteral("dorv = :dorv,"));
        statement.addSql(QStringLiteral("privilege = :priv,"));
        statement.addSql(QStringLiteral("subsidy = :subsidy,"));
        statement.addSql(QStringLiteral("ovz = :ovz,"));
        statement.addSql(QStringLiteral("staff =:staff,"));
        statement.addSql(QStringLiteral("junior =:junior,"));
        statement.addSql(QStringLiteral("paralel_min = :min_p,"));
        statement.addSql(QStringLiteral("paralel_max = :max_p"));
        statement.addSql(QStringLiteral("where actual_date = :actual_date"));
        statement.addSql(QStringLiteral("and food_type = :food_type"));
        statement.addSql(QStringLiteral("and paralel_min = :old_min_p"));
        statement.addSql(QStringLiteral("and paralel_max = :old_max_p"));
        statement.param(QStringLiteral("actual_date")).setDate(date);
        statement.param(QStringLiteral("old_min_p")).setInteger(oldMinParalel_);
        statement.param(QStringLiteral("old_max_p")).setInteger(oldMaxParalel_);
    }
    statement.param(QStringLiteral("food_type")).setInteger(currentFoodType());
    statement.param(QStringLiteral("min_p")).setInteger(minParalel);
    statement.param(QStringLiteral("max_p")).setInteger(maxParalel);
    for (int i = 0; i < parts.size(); ++i) statement.param(s(kPriceParts[i].param)).setInteger(parts[i]);
    api::logged(kLogModule, [&statement] { statement.exec(); });
}

void Tfrm_mealref::z_priceBeforeDelete(db::Query& dataset) {
    const auto value = [&dataset](const QString& field) { return dataset.field(field).value(); };
    db::Query statement(&api::connection());
    statement.addSql(QStringLiteral(
        "delete from mealref_price where actual_date = :actual_date and food_type = :food_type and paralel_min = :min_p "
        "and paralel_max = :max_p"));
    statement.param(QStringLiteral("actual_date")).setDate(mealref::cellDate(value(QStringLiteral("actual_date")), QStringLiteral("Дата")));
    statement.param(QStringLiteral("food_type")).setInteger(currentFoodType());
    statement.param(QStringLiteral("min_p")).setInteger(mealref::wholeNumber(value(QStringLiteral("min_paralel")), QStringLiteral("Мин параллель")));
    statement.param(QStringLiteral("max_p")).setInteger(mealref::wholeNumber(value(QStringLiteral("max_paralel")), QStringLiteral("Макс параллель")));
    api::logged(kLogModule, [&statement] { statement.exec(); });
}

// ------------------------------------------------------------------ navigation

void Tfrm_mealref::DBGrid1CellClick() {
    refresh_ration();
    eject_date();
    refresh_food_price_spec();
}

void Tfrm_mealref::DBGrid1TitleClick(int column) {
    const QString field = z_q_main->fieldName(column);
    if (!field.isEmpty()) refresh_root(field);
}

void Tfrm_mealref::grid_ration_spCellClick() {
    eject_date();
    refresh_food_price_spec();
}

void Tfrm_mealref::grid_priceCellClick() { rememberParalelRange(); }

void Tfrm_mealref::lockup_dateCloseUp() { refresh_food_price_spec(); }

void Tfrm_mealref::L1Click() { z_q_main->insert(); }

void Tfrm_mealref::N1Click() { z_q_main->edit(); }

void Tfrm_mealref::N2Click() { z_q_main->remove(); }

void Tfrm_mealref::N3Click() { refresh_root(QStringLiteral("daily_ration_id")); }
