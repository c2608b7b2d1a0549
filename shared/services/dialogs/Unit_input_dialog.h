#pragma once
// Tfrm_input: a text and a date for the caller's context (a new class on a date). Saving
// checks the date and the text; btn_input_add's tag 666 means saved. Frees itself when
// closed.

#include <QDialog>

#include "api_export.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace api {

class API_EXPORT Tfrm_input : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_input(QWidget* parent = nullptr);

    void btn_input_addClick();  // raises api::Abort after a refusal
    void btn_cancelClick();

    QLabel* lbl_paralel;
    QLabel* lbl_class;
    QLineEdit* ed_head;
    QLineEdit* ed_field;
    QLabel* lbl_date;
    QLineEdit* date_create_class;  // masked "  .  .    "
    QPushButton* btn_input_add;
    QPushButton* btn_cancel;
};

}  // namespace api
