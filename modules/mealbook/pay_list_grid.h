#pragma once
// How the pay-list grid draws its lines: the "ate" glyph, the bold name of a pupil with a
// disability, the allowance colours, the bold negative balance, the balance with two
// decimals, and the hint of each column title.

class QString;
namespace api { class DbGrid; }

namespace mealbook {

// Installs the cell delegate and the title hints on the grid; the grid's query is the
// pay list with its fields named as the list statement names them.
void installPayListLook(api::DbGrid* grid);

// The hint over a column title; empty where no hint is shown.
QString payListTitleHint(const QString& fieldName);

}  // namespace mealbook
