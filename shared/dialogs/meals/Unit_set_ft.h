#pragma once
// Tfrm_set_food_type: a pupil's ration for each day of the week, chosen among the rations
// available in the building. The caller sets selected_corpus and selected_account before
// showing it and reads the seven keys when btn_set_food_type's tag is 666; it frees it.

#include <QDialog>
#include <array>

#include "api_export.h"

class QPushButton;

namespace db { class Query; }

namespace api {

class DbLookupCombo;

class API_EXPORT Tfrm_set_food_type : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_set_food_type(QWidget* parent = nullptr);

    void FormShow();
    void get_list_food_type(db::Query& query);
    void btn_set_food_typeClick();

    // The chosen ration of a weekday, Monday = 0; null when none is chosen.
    QVariant rationOf(int weekday) const;

    int selected_corpus = 0;
    int selected_account = 0;

    std::array<DbLookupCombo*, 7> DBLookupComboBox;  // DBLookupComboBox1 .. DBLookupComboBox7
    std::array<db::Query*, 7> ZQuery;                // ZQuery1 .. ZQuery7
    db::Query* z_schedule;
    QPushButton* btn_set_food_type;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace api
