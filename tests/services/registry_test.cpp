#include <gtest/gtest.h>

#include <QLabel>

#include "registry.h"

namespace {

class Tfrm_probe : public QLabel {
public:
    explicit Tfrm_probe(QWidget* parent) : QLabel(parent) { setObjectName(QStringLiteral("frm_probe")); }
};
DORV_REGISTER_CLASS(Tfrm_probe);

TEST(RegistryTest, ClassesAreFoundByNameRegardlessOfCase) {
    for (const QString& name : {QStringLiteral("Tfrm_probe"), QStringLiteral("tfrm_probe"), QStringLiteral("TFRM_PROBE")}) {
        std::unique_ptr<QWidget> w(api::createByClassName(name));
        ASSERT_NE(w, nullptr) << name.toStdString();
        EXPECT_EQ(w->objectName(), QStringLiteral("frm_probe"));
    }
    EXPECT_EQ(api::createByClassName(QStringLiteral("tfrm_missing")), nullptr);
    EXPECT_TRUE(api::registeredClasses().contains(QStringLiteral("Tfrm_probe")));
}

}  // namespace
