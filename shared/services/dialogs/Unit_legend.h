#pragma once
// Tfrm_legend: what the colours and bold rows of the pupil grids mean. The caller sets the
// caption. Hidden when closed; the caller frees it.

#include <QDialog>

#include "api_export.h"

namespace db { class Query; }

namespace api {

class DbGrid;

class API_EXPORT Tfrm_legend : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_legend(QWidget* parent = nullptr);

    void FormShow();

    DbGrid* grid_legend;
    db::Query* z_legend;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace api
