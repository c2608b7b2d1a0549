#pragma once
// The main window: owns the one database connection, signs the user in, shows the tool
// bar and the "Модули" menu that the user's rights switch on, and opens module windows
// as child windows of its multi-document area.

#include <QDate>
#include <QMainWindow>
#include <array>
#include <functional>

#include "connection.h"

class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QToolButton;
namespace db { class Query; }

class Tmain_form : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kToolButtonCount = 12;
    static constexpr int kModuleMenuItemCount = 11;

    explicit Tmain_form(QWidget* parent = nullptr);
    ~Tmain_form() override;

    // Window creation: folders updates/ and doc/ (doc emptied), then the login, modally.
    // False when the login ended the process (closed without a connection).
    bool FormCreate();

    db::Connection connection;

    QMdiArea* mdi_area;
    QToolBar* ToolBar1;
    QMenu* modules;
    QLabel* st_bar_panel0;  // status bar panel 0: the sign-in result

    // Tool button n (1-based) and menu item n of "Модули".
    QToolButton* toolButton(int position) const;
    QAction* toolButtonAction(int position) const;
    QAction* moduleMenuItem(int position) const;
    bool isToolButtonShown(int position) const;

    QString statusText() const;
    void setStatusText(const QString& text);

    // Duty administrator of this run, chosen by the staff account before the staff
    // workstation opens; the workstation reads them.
    QString desk_admin_full_name;
    QString desk_admin_pasport_ser;
    QString desk_admin_pasport_num;
    QDate desk_admin_date_released;
    QString desk_admin_org_released;

    // Handed from the meal accounting window to the weekday-ration dialog.
    int selected_corpus = 0;
    int selected_account = 0;

    // 1 from creation until the unread-news check has run.
    int first_run = 1;

    // Ends the program after the installer was started (replaced in tests).
    std::function<void()> end_application;

    // Switches on the tool buttons and menu items that user_rights grants.
    void show_button();

    // Update check (first show) and the version gate of the module buttons.
    void check_updates();
    bool is_soft_updated();
    static QString installer_file_name();

    // Unread-news alert (first activation).
    void check_messages();

    // Fills the query with the duty administrators that may be chosen.
    void get_desk_admin(db::Query& query);
    // Shows the choice and copies the chosen row into the desk_admin_ fields.
    void choose_desk_admin();

public slots:
    // module handlers, in tool bar order
    void mealrefClick();
    void card_studClick();
    void ToolButton3Click();
    void move_peopleClick();
    void pay_listClick();
    void analystClick();
    void ToolButton1Click();
    void ref_propertyClick();
    void ToolButton2Click();
    void contractsClick();
    void ToolButton5Click();
    void ToolButton4Click();

    void N4Click();   // cascade
    void N5Click();   // tile
    void N6Click();   // close all
    void N1Click();   // about box
    void N16Click();  // user guide

    void FormShow();
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildToolBar();
    void buildMenus();
    void openModule(int position);
    void readVersionRecord(QString& version, QString& url);

    std::array<QToolButton*, kToolButtonCount> toolButtons_{};
    std::array<QAction*, kToolButtonCount> toolActions_{};
    std::array<QAction*, kModuleMenuItemCount> moduleItems_{};
    bool shown_ = false;
    bool newsCheckQueued_ = false;
};
