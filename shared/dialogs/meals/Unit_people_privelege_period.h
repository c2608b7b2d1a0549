#pragma once
// Tfrm_account_privelege_period: the journal of a pupil's 700-rouble privilege periods,
// with deleting a period and moving its end to the end of a chosen month. The caller sets
// mode, account_id, entry_date and pupil_fio, fills the list with get_list_priv, shows it
// and frees it.

#include <QDate>
#include <QDialog>

#include "api_export.h"

class QAction;
class QMenu;
class QPushButton;

namespace db { class Query; }

namespace api {

class DbGrid;

class API_EXPORT Tfrm_account_privelege_period : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_account_privelege_period(QWidget* parent = nullptr);

    void get_list_priv(db::Query& query, int account);
    void delete_priv_period_human();  // the current period of z_priv
    void N1Click();                   // "Удалить льготный период"
    void N2Click();                   // "Выбрать период окончания льготы"
    void btn_actionClick();

    quint8 mode = 1;  // 1 the caller grants, 2 it withdraws
    int account_id = 0;
    QDate entry_date;
    QString pupil_fio;

    db::Query* z_priv;
    DbGrid* grid_priv;
    QMenu* popup_action;
    QAction* N1;
    QAction* N2;
    QPushButton* btn_action;
};

}  // namespace api
