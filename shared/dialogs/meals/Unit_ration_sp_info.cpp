#include "Unit_ration_sp_info.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "logged_action.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "widgets/db_grid.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_ration_sp_info);

namespace {

void prepare(db::Query& query, const QStringList& lines) {
    query.setConnection(&connection());
    query.close();
    query.clearSql();
    for (const QString& line : lines) query.addSql(line);
}

// Price columns and the titles of the payer parts.
const char* const kPriceTitles[][2] = {
    {"actual_date", "Дата"}, {"min_paralel", "С параллели"}, {"max_paralel", "По параллель"},
    {"parent", "СЗП"},       {"dorv", "КШП"},                {"privilege", "Л"},
    {"subsidy", "Б"},        {"ovz", "ОВЗ"},                 {"staff", "ПС"},
    {"junior", "ПМК"}};

}  // namespace

Tfrm_ration_sp_info::Tfrm_ration_sp_info(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_ration_sp_info"));
    setWindowTitle(QStringLiteral("Информация по рациону питающегося"));
    z_ration_sp = new db::Query(this);
    z_ration_sp->setObjectName(QStringLiteral("z_ration_sp"));
    grid_ration_sp = new DbGrid(this);
    grid_ration_sp->setObjectName(QStringLiteral("grid_ration_sp"));
    grid_ration_sp->setQuery(z_ration_sp);
    grid_ration_sp->setReadOnly(true);
    grid_ration_sp->installEventFilter(this);
    z_ration_attr = new db::Query(this);
    z_ration_attr->setObjectName(QStringLiteral("z_ration_attr"));
    grid_attr = new DbGrid(this);
    grid_attr->setObjectName(QStringLiteral("grid_attr"));
    grid_attr->setQuery(z_ration_attr);
    grid_attr->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_ration_sp, 1);
    layout->addWidget(grid_attr, 1);
    resize(720, 420);
    connect(grid_ration_sp, &QAbstractItemView::clicked, this, &Tfrm_ration_sp_info::grid_ration_spCellClick);
}

void Tfrm_ration_sp_info::get_ration_sp(db::Query& query) {
    prepare(query, {QStringLiteral("select distinct ft.food_type_id, cast(ft.name as varchar(200)) as name"),
                    QStringLiteral("from ref_daily_ration_sp r_sp, mealref_type ft where r_sp.food_type = ft.food_type_id"),
                    QStringLiteral("and r_sp.daily_ration =:ration_id")});
    query.param(QStringLiteral("ration_id")).setInteger(ration_id);
    query.open();
    grid_ration_sp->setColumnTitle(QStringLiteral("food_type_id"), QStringLiteral("ID"));
    grid_ration_sp->setColumnTitle(QStringLiteral("name"), QStringLiteral("Тип питания"));
}

void Tfrm_ration_sp_info::get_ration_attr(db::Query& query) {
    prepare(query, {QStringLiteral("select r_fp.actual_date, r_fp.paralel_min as min_paralel, r_fp.paralel_max as max_paralel,"),
                    QStringLiteral("r_fp.parent, r_fp.dorv, r_fp.privilege, r_fp.subsidy, r_fp.ovz, r_fp.staff, r_fp.junior"),
                    QStringLiteral("from mealref_price r_fp"),
                    QStringLiteral("where r_fp.food_type = :ft"),
                    QStringLiteral("order by r_fp.actual_date asc")});
    if (z_ration_sp->recordCount() > 0)
        query.param(QStringLiteral("ft")).setInteger(z_ration_sp->field(QStringLiteral("food_type_id")).asInteger());
    query.open();
    for (const auto& [field, title] : kPriceTitles)
        grid_attr->setColumnTitle(QString::fromLatin1(field), QString::fromUtf8(title));
}

void Tfrm_ration_sp_info::FormShow() {
    logged(QStringLiteral("dm_api"), [this] {
        get_ration_sp(*z_ration_sp);
        z_ration_sp->first();
        get_ration_attr(*z_ration_attr);
    });
}

void Tfrm_ration_sp_info::grid_ration_spCellClick() {
    logged(QStringLiteral("dm_api"), [this] { get_ration_attr(*z_ration_attr); });
}

void Tfrm_ration_sp_info::grid_ration_spKeyUp(int key) {
    if (key == Qt::Key_Up || key == Qt::Key_Down) grid_ration_spCellClick();
}

void Tfrm_ration_sp_info::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

bool Tfrm_ration_sp_info::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ration_sp && event->type() == QEvent::KeyRelease)
        grid_ration_spKeyUp(static_cast<QKeyEvent*>(event)->key());
    return QDialog::eventFilter(watched, event);
}

}  // namespace api
