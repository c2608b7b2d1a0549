#pragma once
// The choice of the duty administrator. The dialog always ends with a choice: "Выбрать"
// sets its tag to 666 and closes, and any other way of closing does the same first.

#include <QDialog>

class QPushButton;
namespace api { class DbGrid; }
namespace db { class Query; }

class Tfrm_desk_men : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_desk_men(QWidget* parent = nullptr);

    db::Query* z_adm_list;
    api::DbGrid* grid_adm_list;
    QPushButton* btn_select_adm;

public slots:
    void btn_select_admClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormShow();
};
