#pragma once
// Tfrm_ref_sel: choose a row from a reference list, with a search box. The caller binds
// z_ref, gives it a statement with the name condition
//   (lower(column) like lower(:par_name) or (:par_name_all = 0))
// through set_query, binds par_name_all = 0, calls run_query and shows the dialog; when
// btn_select's tag is 1 it reads the current row of z_ref. Frees itself when closed.

#include <QDialog>
#include <QStringList>

#include "api_export.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace db { class Query; }

namespace api {

class DbGrid;

class API_EXPORT Tfrm_ref_sel : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ref_sel(QWidget* parent = nullptr);

    void set_query(const QString& sql);
    void run_query(const QString& title1, const QString& title2, int width1, int width2);

    // Handlers.
    void FormShow();
    void ed_searchChange();
    void btn_selectClick();

    QLabel* lbl_search;
    QLineEdit* ed_search;
    DbGrid* grid_ref;
    db::Query* z_ref;
    QPushButton* btn_select;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyColumns();

    QStringList titles_;
    QList<int> widths_;
};

}  // namespace api
