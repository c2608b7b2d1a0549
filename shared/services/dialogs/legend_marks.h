#pragma once
// The marks of the pupil grids (staff workstation, meal accounting) and their legend:
// a current 700-rouble privilege and a privilege that ends this month colour the row,
// a pupil with a disability is written in bold.

#include <QColor>

namespace api::legend {

enum Mark { CurrentPrivilege = 1, PrivilegeEndsThisMonth = 2, Disability = 3 };

inline QColor currentPrivilegeColor() { return QColor(240, 170, 80); }
inline QColor privilegeEndsColor() { return QColor(110, 255, 150); }

}  // namespace api::legend
