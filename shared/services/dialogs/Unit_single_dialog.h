#pragma once
// Tfrm_single_input_dialog: a group name and its teacher. The caller supplies the teacher
// list (db_teachers over its query, key "id", list "name"); btn_go's tag 666 means create.
// Hidden when closed; the caller frees it.

#include <QDialog>

#include "api_export.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace api {

class DbLookupCombo;

class API_EXPORT Tfrm_single_input_dialog : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_single_input_dialog(QWidget* parent = nullptr);

    void btn_goClick();  // raises api::Abort after a refusal

    QLabel* lbl_group_name;
    QLineEdit* ed_name;
    QLabel* lbl_teacher;
    DbLookupCombo* db_teachers;
    QPushButton* btn_go;
};

}  // namespace api
