#pragma once
// Meal accounting: a school's daily pay lists. Four tabs: the documents (the pay list of a
// building and day, class by class, with the "ate" marks, rations, posting and rollback),
// the journal of a building's pay lists for a month, the account states of the pupils and
// the stored reports. Every printout is a template report.
//
// The window's routines live in several files by concern:
//   acc_food.cpp               window shell, tabs, opening the window
//   pay_list_documents.cpp     building, date, parallel and class tabs; creating and loading
//   pay_list_marks.cpp         "ate" marks, posting and rollback, the note
//   pay_list_grid.cpp          the grid's columns, glyphs, colours and title hints
//   rations.cpp                rations and pupil attributes from the grid's popup menu
//   journal.cpp                the journal tab
//   account_states.cpp         the account-state tab
//   report_menus.cpp           the print menus and the reports tab

#include <QDate>
#include <QPointer>
#include <QVariant>
#include <QWidget>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTabWidget;
class QToolButton;

namespace api {
class DbGrid;
class DbLookupCombo;
class DbNavigator;
}  // namespace api
namespace db { class Query; }

class Tfrm_mealbook : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_mealbook(QWidget* parent = nullptr);

    // --- window state -------------------------------------------------------------------
    int currentCorpus() const;
    QDate currentDate() const;
    int currentParalel() const;
    int currentClass() const;
    QString currentDateText() const;  // the date in the short format, as several statements bind it

    // --- documents tab: reads (each re-asks the server) ----------------------------------
    int check_pay_list();                       // the document number, 0 when none
    int get_pay_list_number();
    int check_status_pay_list();                // 0 when no document
    int analyst_check_status_pay_list();
    QDate get_pay_list_date_per_number(int corpus, int doc_no);
    QDate get_recent_date_pay_list(int corpus);
    QDate get_class_date(int corpus);
    bool is_child_yard(int corpus);
    int check_lock_pay_list(int corpus);
    QString get_blocked_admin_name(int corpus);
    bool exists_refused_pay_list_date(const QDate& date);
    QString get_note(int corpus, const QDate& date);
    bool is_show_balance();
    int get_count_on_food();

    // --- documents tab: actions ----------------------------------------------------------
    void create_pay_list(int corpus);
    void update_class_structure();
    void get_pay_list();
    void paint_list();
    void food_get_corpus();
    void food_refresh_class();
    void food_refresh_class_liter();
    void refresh_tabs();
    void set_pay_list_status(int corpus, int status);
    void update_note(int corpus, const QString& text, const QDate& date);
    void single_set_pay_attr(int corpus, int status);
    void set_pay_attr(int status);
    void show_doc_state();       // lbl_doc_no from the document's number and status
    void show_count_on_food();   // lbl_statistic
    void show_note();
    void set_child_yard_flag();
    void remember_good_state();  // the date and building of the list shown
    void restore_good_state();
    void select_pupil(int accountId);
    int current_pupil() const;   // the grid's current row's account, 0 when none
    // The first building with a class on the current date; false when no building has one.
    bool choose_building_with_classes();

    // --- rations and pupil attributes ------------------------------------------------------
    void generate_submenu();
    void set_selected_ration_on_week(int account, const QDate& date, int ration);
    int exist_human_type(int account);
    void update_ration(int account);
    void set_daily_ration_for_cl(int ration);
    void update_ration_for_class(const QDate& date, int paralel, int klass);
    void save_chgard_order(const QStringList& counts);
    void reload_keeping_pupil();
    // True (after the warning) when the current document is posted.
    bool refuse_posted_change();

    // --- journal and account states --------------------------------------------------------
    void get_pay_list_log();
    void get_debt_school();
    void reset_debt_titles();
    void set_search_field(int column);
    void apply_debt_filter(const QString& expression);

    // --- reports ---------------------------------------------------------------------------
    void build_month_report(int corpus, int month, int year, int report_id, int invalid);
    void build_quarantine_report(int report_id);
    void build_report_debt(int report_id);
    void build_account_detail(db::Query& dataset);
    void run_report_of_list();

    // --- components ------------------------------------------------------------------------
    QTabWidget* accounting_page;

    // documents tab
    api::DbLookupCombo* food_combo_corpus;
    db::Query* z_corpus;
    QDateEdit* food_calendar;
    QTabBar* food_page_class;
    QTabBar* food_page_class_liter;
    QLabel* lbl_doc_no;
    QLabel* lbl_statistic;
    db::Query* z_pay_list;
    api::DbGrid* grid_pay_list;
    QPlainTextEdit* note_memo;
    QPushButton* Button1;       // "Записать"
    QPushButton* btn_go;        // "Выполнить"
    QPushButton* btn_print;     // "Печать"
    QPushButton* Button3;       // "Легенда"
    QPushButton* SpeedButton2;  // "Стат-ка"
    QPushButton* btn_orders;    // "Заявки"
    QMenu* popup_change_status;
    QAction* N2;
    QAction* N3;
    QMenu* popup_food;
    QAction* N4;
    QAction* N5;
    QAction* J1;
    QAction* J2;
    QAction* N67;
    QMenu* change_type;
    QAction* N49;
    QAction* N1;
    QMenu* N10;
    QAction* N11;
    QAction* N12;
    QAction* sep_is_700;
    QMenu* popup_is_700;
    QAction* N51;
    QAction* N52;
    QAction* N50;

    // journal tab
    api::DbLookupCombo* db_journal_corpus;
    db::Query* z_journal_corpus;
    api::DbLookupCombo* db_months;
    db::Query* z_months;
    QLineEdit* ed_year;
    QPushButton* Button2;  // "Обновить"
    QPushButton* bnt_print_journal;
    db::Query* z_pay_list_log;
    api::DbGrid* grid_pay_list_log;
    api::DbNavigator* nav_pay_list_log;

    // account-state tab
    api::DbLookupCombo* db_corpus_debt;
    db::Query* z_corpus_debt;
    QLabel* lbl_field;
    QLineEdit* ed_school_debt;
    QPushButton* btn_filter_go;
    QPushButton* btn_filert_undo;
    QRadioButton* radio_button_above;
    QRadioButton* radio_button_belowe;
    QRadioButton* radio_button_both;
    QToolButton* SpeedButton1;  // export
    QLabel* lbl_max_calc_date;
    db::Query* z_debt_school;
    api::DbGrid* debt_school;
    api::DbNavigator* nav_debt_school;
    QMenu* popup_filter;
    QAction* N6;
    QAction* N7;
    QAction* N9;

    // reports tab
    db::Query* z_template_report;
    api::DbGrid* grid_template_report;
    QPushButton* btn_run_report;
    QMenu* popup_template_report;
    QAction* N69;

    // print menus
    QMenu* popup_print_pay_list;
    QAction* staff_pay_list;
    QAction* N34;  // separator before the group reports
    QList<QAction*> child_yard_items;
    QAction* ovz_all_item;
    QAction* journal_ovz_all_item;
    QList<QAction*> quarantine_items;
    QMenu* popup_journal;

public slots:
    void FormShow();
    void accounting_pageChange();
    void food_combo_corpusCloseUp();
    void food_calendarCloseUp();
    void food_page_classChange();
    void food_page_class_literChange();
    void grid_pay_listDblClick();
    void N2Click();
    void N3Click();
    void N4Click();
    void N5Click();
    void J2Click();
    void btn_goMouseUp();
    void Button1Click();
    void Button3Click();
    void SpeedButton2Click();

    void popup_foodPopup();
    void get_tag_food(int ration);
    void N49Click();
    void N1Click();
    void N67Click();
    void J1Click();
    void N11Click();
    void N12Click();
    void N51Click();
    void N52Click();
    void btn_ordersClick();

    void Button2Click();
    void grid_pay_list_logDblClick();
    void bnt_print_journalMouseUp();
    void db_corpus_debtCloseUp();
    void debt_schoolTitleClick(int column);
    void btn_filter_goClick();
    void btn_filert_undoClick();
    void radio_button_aboveClick();
    void radio_button_beloweClick();
    void radio_button_bothClick();
    void SpeedButton1Click();

    void btn_printClick();
    void children_pay_listClick();
    void staff_pay_listClick();
    void N9Click();
    void N50Click();
    void btn_run_reportClick();
    void N69Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildDocumentsTab();
    QWidget* buildJournalTab();
    QWidget* buildAccountStatesTab();
    QWidget* buildReportsTab();
    void buildFoodPopup();
    void buildPrintMenus();
    void addMonthReportItems(QMenu* menu, bool journal);
    void runMonthReportFromMenu(int report_id, int invalid, bool journal, bool documentsTab);
    void popup_print_pay_listPopup();

    bool shown_ = false;
    bool rebuildingTabs_ = false;
    int status_ = 0;            // the document status last read
    QDate lastGoodDate_;
    int lastGoodCorpus_ = 0;
    bool childYard_ = false;
    QString searchField_ = QStringLiteral("last_name");
    QString debtFilter_;        // the expression chosen by the radio buttons
};
