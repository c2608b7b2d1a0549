#include "Unit_people_privelege_period.h"

#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "dates.h"
#include "dialogs/Unit_select_period.h"
#include "dialogs/db_lookup_combo.h"
#include "dm_api.h"
#include "logged_action.h"
#include "lookups/dm_api_lookups.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "widgets/db_grid.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_account_privelege_period);

Tfrm_account_privelege_period::Tfrm_account_privelege_period(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_account_privelege_period"));
    setWindowTitle(QStringLiteral("Журнал установки/снятия льгот на питание"));
    z_priv = new db::Query(this);
    z_priv->setObjectName(QStringLiteral("z_priv"));
    grid_priv = new DbGrid(this);
    grid_priv->setObjectName(QStringLiteral("grid_priv"));
    grid_priv->setQuery(z_priv);
    grid_priv->setReadOnly(true);
    popup_action = new QMenu(this);
    popup_action->setObjectName(QStringLiteral("popup_action"));
    N1 = popup_action->addAction(QStringLiteral("Удалить льготный период"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = popup_action->addAction(QStringLiteral("Выбрать период окончания льготы"));
    N2->setObjectName(QStringLiteral("N2"));
    grid_priv->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_priv, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_action->popup(grid_priv->viewport()->mapToGlobal(at)); });
    btn_action = new QPushButton(QStringLiteral("ОК"), this);
    btn_action->setObjectName(QStringLiteral("btn_action"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_priv, 1);
    layout->addWidget(btn_action, 0, Qt::AlignRight);
    resize(300, 320);

    connect(N1, &QAction::triggered, this, &Tfrm_account_privelege_period::N1Click);
    connect(N2, &QAction::triggered, this, &Tfrm_account_privelege_period::N2Click);
    connect(btn_action, &QPushButton::clicked, this, &Tfrm_account_privelege_period::btn_actionClick);
}

void Tfrm_account_privelege_period::get_list_priv(db::Query& query, int account) {
    logged(QStringLiteral("dm_api"), [&] {
        query.setConnection(&connection());
        query.close();
        query.clearSql();
        query.addSql(QStringLiteral("select pd.account_id, pd.date_beg, pd.date_end from public.human_privilege_period pd where pd.account_id = :x_account_id order by 2,3 desc "));
        query.param(QStringLiteral("x_account_id")).setInteger(account);
        query.open();
        if (&query != z_priv) return;
        grid_priv->setColumnHiddenByName(QStringLiteral("account_id"), true);
        grid_priv->setColumnTitle(QStringLiteral("date_beg"), QStringLiteral("Начальная дата"));
        grid_priv->setColumnWidthByName(QStringLiteral("date_beg"), 95);
        grid_priv->setColumnTitle(QStringLiteral("date_end"), QStringLiteral("Конечная дата"));
        grid_priv->setColumnWidthByName(QStringLiteral("date_end"), 95);
    });
}

void Tfrm_account_privelege_period::delete_priv_period_human() {
    logged(QStringLiteral("dm_api"), [this] {
        db::Query q(&connection());
        q.addSql(QStringLiteral("select * from dorv.del_priv_period_human(:p_account_id, :p_beg_date)"));
        q.param(QStringLiteral("p_account_id")).setInteger(account_id);
        q.param(QStringLiteral("p_beg_date")).setDate(z_priv->field(QStringLiteral("date_beg")).asDate());
        q.exec();
    });
}

void Tfrm_account_privelege_period::N1Click() {
    if (z_priv->recordCount() == 0) return;
    const QString question = QStringLiteral("Вы действительно хотите удалить льготный период для учащегося  ") +
                             u'\r' + pupil_fio + u'\r' + QStringLiteral(" c ") +
                             z_priv->field(QStringLiteral("date_beg")).asString() + QStringLiteral(" по ") +
                             z_priv->field(QStringLiteral("date_end")).asString() + QStringLiteral(" ?");
    if (!messages().ask(question, QStringLiteral("Вопрос"), MessageIcon::Question)) return;
    delete_priv_period_human();
    get_list_priv(*z_priv, account_id);
}

void Tfrm_account_privelege_period::N2Click() {
    if (z_priv->recordCount() == 0) return;
    QPointer<Tfrm_select_period> dialog =
        qobject_cast<Tfrm_select_period*>(createByClassName(QStringLiteral("Tfrm_select_period"), this));
    if (!dialog) return;
    Tapi_dm_lookups::get_list_months(dialog->ed_year, *dialog->z_months);
    dialog->db_months->setKeyValue(Tapi_dm::get_number_selected_month(entry_date));
    dialog->entry_date = entry_date;
    dialog->beg_date = z_priv->field(QStringLiteral("date_beg")).asDate();
    dialog->account_id = account_id;
    dialog->pupil_fio = pupil_fio;
    dialog->exec();
    delete dialog.data();
    get_list_priv(*z_priv, account_id);
}

void Tfrm_account_privelege_period::btn_actionClick() { accept(); }

}  // namespace api
