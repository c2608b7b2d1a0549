#pragma once
// Meal types and prices: the daily rations, the meal types each ration consists of, and
// for each meal type its price split by payer, valid from a date for a range of
// parallels. Three editable grids; every post or delete becomes one statement of its own,
// sent from the query's hook.

#include <QWidget>

class QComboBox;
class QLabel;
class QMenu;
class QAction;

namespace api {
class DbGrid;
class DbNavigator;
}  // namespace api
namespace db { class Query; }

class Tfrm_mealref : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_mealref(QWidget* parent = nullptr);

    void FormCreate();
    // Re-reads the rations in use ordered by that field.
    void refresh_root(const QString& orderField);
    // The meal types of the current ration.
    void refresh_ration();
    // The dates of the current meal type's prices; the latest becomes the chosen one.
    void eject_date();
    // The prices of the current meal type from the chosen date.
    void refresh_food_price_spec();

    void z_q_mainBeforePost(db::Query& dataset);
    void z_q_mainBeforeDelete(db::Query& dataset);
    void z_daily_ration_spAfterInsert();
    void z_daily_ration_spBeforePost(db::Query& dataset);
    void z_daily_ration_spBeforeDelete(db::Query& dataset);
    void z_priceBeforeInsert(db::Query& dataset);
    void z_priceBeforePost(db::Query& dataset);
    void z_priceBeforeDelete(db::Query& dataset);

    // The parallel range of the price row as it was before its edit.
    int old_min_paralel() const { return oldMinParalel_; }
    int old_max_paralel() const { return oldMaxParalel_; }

    db::Query* z_q_main;
    db::Query* z_daily_ration_sp;
    db::Query* z_date;
    db::Query* z_price;
    api::DbGrid* DBGrid1;
    api::DbGrid* grid_ration_sp;
    api::DbGrid* grid_price;
    api::DbNavigator* nav_main;
    api::DbNavigator* nav_ration_sp;
    api::DbNavigator* nav_price;
    QLabel* lbl_date;
    QComboBox* lockup_date;
    QMenu* popup_main_ref;
    QAction* L1;
    QAction* N1;
    QAction* N2;
    QAction* N3;

public slots:
    void DBGrid1CellClick();
    void DBGrid1TitleClick(int column);
    void grid_ration_spCellClick();
    void grid_priceCellClick();
    void lockup_dateCloseUp();
    void L1Click();
    void N1Click();
    void N2Click();
    void N3Click();

private:
    void rememberParalelRange();
    int currentRation() const;
    int currentFoodType() const;

    int oldMinParalel_ = 0;
    int oldMaxParalel_ = 0;
};
