#pragma once
// Tfrm_multiply_set_ft: one ration for a whole class, picked from the rations available in
// the building and filtered by the fund that pays for it (999 = every ration, 666 = rations
// with a meal type paid by two or more funds). The caller sets corpus_id and the caption,
// and reads the current row of z_ft_list when btn_save_sel_ration_for_cl's tag is 666.

#include <QDialog>

#include "api_export.h"

class QPushButton;

namespace db { class Query; }

namespace api {

class DbGrid;

class API_EXPORT Tfrm_multiply_set_ft : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_multiply_set_ft(QWidget* parent = nullptr);

    void FormShow();
    void get_list_pay_fund(db::Query& query);
    void get_list_ft(db::Query& query);  // the rations of z_pay_funds' current fund
    void grid_pay_fundsCellClick();
    void btn_save_sel_ration_for_clClick();

    int corpus_id = 0;

    db::Query* z_pay_funds;
    DbGrid* grid_pay_funds;
    db::Query* z_ft_list;
    DbGrid* grid_ft;
    QPushButton* btn_save_sel_ration_for_cl;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace api
