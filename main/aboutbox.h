#pragma once
// The about box: the program's version and the organisation's home page.

#include <QDialog>

class QLabel;

class Tfrm_aboutbox : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_aboutbox(QWidget* parent = nullptr);

    static QString get_homepage_deacr();
    static QString get_homepage();

    QLabel* lbl_product;
    QLabel* lbl_version;
    QLabel* lbl_link_descr;

public slots:
    void lbl_link_descrClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
