#pragma once
// TParamEditForm: the report-parameter editor. The caller fills the two-column grid with
// parameter names and values, shows it modally and reads the grid back when OkButton's tag
// is 666. Hidden when closed; the caller frees it.

#include <QDialog>

#include "api_export.h"

class QPushButton;
class QTableWidget;

namespace api {

class API_EXPORT TParamEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TParamEditForm(QWidget* parent = nullptr);

    // The grid's cell in column col (0 name, 1 value) and row; setting a cell beyond the
    // last row adds rows.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);

    void OkButtonClick();

    QTableWidget* StringGrid;
    QPushButton* OkButton;
};

}  // namespace api
