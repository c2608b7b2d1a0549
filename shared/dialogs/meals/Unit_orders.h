#pragma once
// Tfrm_orders: the kindergarten order counts (four and five meals a day). Every field takes
// digits only; "Рассчитать" sets btn_go's tag to 666 and the caller reads the eight fields.

#include <QDialog>

#include "api_export.h"

class QLineEdit;
class QPushButton;

namespace api {

class API_EXPORT Tfrm_orders : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_orders(QWidget* parent = nullptr);

    void btn_goClick();

    QLineEdit* ed_junior_4;
    QLineEdit* ed_chgard_4;
    QLineEdit* ed_junior_5;
    QLineEdit* ed_chgard_5;
    QLineEdit* ed_tub_junior_5;
    QLineEdit* ed_tub_chgard_5;
    QLineEdit* ed_diabetes_junior_5;
    QLineEdit* ed_diabetes_chgard_5;
    QPushButton* btn_go;
};

}  // namespace api
