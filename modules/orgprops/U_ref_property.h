#pragma once
// Organisation properties: the named settings of the catering organisation (admin) or of
// the signed-in school, edited in a grid; every post becomes one statement of its own.

#include <QWidget>

namespace api {
class DbGrid;
class DbNavigator;
}  // namespace api
namespace db { class Query; }

class Tfrm_ref_property : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_ref_property(QWidget* parent = nullptr);

    // (Re)loads the grid.
    void show_property_info();
    // Sends the insert or the update of the record being posted.
    void z_propertyBeforePost(db::Query& dataset);

    db::Query* z_property;
    api::DbGrid* grid_propery;
    api::DbNavigator* navigator;

private:    // "dorv.ref_property" for admin, "ref_property" (the user's own) for everyone else.
    static QString propertyTable();
};
