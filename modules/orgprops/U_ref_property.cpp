#include "U_ref_property.h"

#include <QVBoxLayout>

#include "logged_action.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"

DORV_REGISTER_CLASS(Tfrm_ref_property);

namespace {
const QString kLogModule = QStringLiteral("ref_propery");
}

QString Tfrm_ref_property::propertyTable() {
    return api::userName() == QLatin1String("admin") ? QStringLiteral("dorv.ref_property")
                                                     : QStringLiteral("ref_property");
}

Tfrm_ref_property::Tfrm_ref_property(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frm_ref_property"));
    setWindowTitle(QStringLiteral("Свойства ОУ"));
    setAttribute(Qt::WA_DeleteOnClose);  // freed when closed

    z_property = new db::Query(this);
    z_property->setObjectName(QStringLiteral("z_property"));
    z_property->beforePost = [this](db::Query& dataset) { z_propertyBeforePost(dataset); };

    grid_propery = new api::DbGrid(this);
    grid_propery->setObjectName(QStringLiteral("grid_propery"));
    grid_propery->setQuery(z_property);

    navigator = new api::DbNavigator(this);
    navigator->setQuery(z_property);
    using N = api::DbNavigator;
    navigator->setVisibleButtons({N::First, N::Prior, N::Next, N::Last, N::Insert, N::Edit, N::Post, N::Cancel});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(grid_propery, 1);
    layout->addWidget(navigator);

    show_property_info();
}

void Tfrm_ref_property::show_property_info() {
    z_property->setCachedUpdates(true);
    z_property->setConnection(&api::connection());
    z_property->close();
    z_property->clearSql();
    z_property->addSql(QStringLiteral("select p.name, p.note, p.property_value from ") + propertyTable() +
                       QStringLiteral(" p"));
    api::logged(kLogModule, [this] { z_property->open(); });
    grid_propery->setColumnTitle(QStringLiteral("name"), QStringLiteral("Системное имя"));
    grid_propery->setColumnTitle(QStringLiteral("note"), QStringLiteral("Описание"));
    grid_propery->setColumnWidthByName(QStringLiteral("note"), 200);
    grid_propery->setColumnTitle(QStringLiteral("property_value"), QStringLiteral("Значение"));
    grid_propery->setColumnWidthByName(QStringLiteral("property_value"), 250);
}

void Tfrm_ref_property::z_propertyBeforePost(db::Query& dataset) {
    const auto text = [&dataset](const char* name) { return dataset.field(QString::fromLatin1(name)).asString(); };
    const QString table = propertyTable();
    if (dataset.state() == db::Query::State::Insert) {
        db::Query insert(&api::connection());
        insert.addSql(QStringLiteral("insert into ") + table +
                      QStringLiteral(" (name, property_value, note) values (:name_val,:value,:note) "));
        insert.param(QStringLiteral("name_val")).setText(text("name"));
        insert.param(QStringLiteral("value")).setText(text("property_value"));
        insert.param(QStringLiteral("note")).setText(text("note"));
        api::logged(kLogModule, [&insert] { insert.exec(); });
    } else if (dataset.state() == db::Query::State::Edit) {
        db::Query update(&api::connection());
        update.addSql(QStringLiteral("update ") + table + QStringLiteral("  set"));
        update.addSql(QStringLiteral("property_value = :value,"));
        update.addSql(QStringLiteral("note = :note"));
        update.addSql(QStringLiteral("where name = :name"));
        update.param(QStringLiteral("name")).setText(text("name"));
        update.param(QStringLiteral("value")).setText(text("property_value"));
        update.param(QStringLiteral("note")).setText(text("note"));
        api::logged(kLogModule, [&update] { update.exec(); });
    }
}
