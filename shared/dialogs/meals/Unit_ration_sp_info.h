#pragma once
// Tfrm_ration_sp_info: the meal types of a ration and the dated prices of the chosen meal
// type. The caller sets ration_id, shows it and frees it.

#include <QDialog>

#include "api_export.h"

namespace db { class Query; }

namespace api {

class DbGrid;

class API_EXPORT Tfrm_ration_sp_info : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ration_sp_info(QWidget* parent = nullptr);

    void FormShow();
    void get_ration_sp(db::Query& query);
    void get_ration_attr(db::Query& query);  // prices of z_ration_sp's current meal type
    void grid_ration_spCellClick();
    void grid_ration_spKeyUp(int key);

    int ration_id = 0;

    db::Query* z_ration_sp;
    DbGrid* grid_ration_sp;
    db::Query* z_ration_attr;
    DbGrid* grid_attr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace api
