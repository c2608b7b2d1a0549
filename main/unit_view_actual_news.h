#pragma once
// The unread-news alert shown once after sign-in. "Ознакомлен" and "Список новостей" set
// their tag to 666 before closing; the caller reads the tags after the modal run.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class Tfrm_show_actual_news : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_show_actual_news(QWidget* parent = nullptr);

    QLabel* lbl_title;
    QPlainTextEdit* memo_text_news;
    QPushButton* btn_view;
    QPushButton* btn_close;
    QPushButton* btn_show_news;

public slots:
    void btn_viewClick();
    void btn_closeClick();
    void btn_show_newsClick();
};
