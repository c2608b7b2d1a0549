// The "ate" marks, posting and rollback, the note; the legend and the class statistics.

#include <QAction>
#include <QCursor>
#include <QDateEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>

#include "abort.h"
#include "acc_food.h"
#include "app_error.h"
#include "dialogs/Unit_legend.h"
#include "meals/Unit_stat_report.h"
#include "mealbook_db.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "wait_cursor.h"
#include "widgets/db_grid.h"

using mealbook::execLogged;
using mealbook::openLogged;
using mealbook::statement;

namespace {

const QString kPostedSpecification = QStringLiteral(
    "Вы пытаетесь изменить спецификацию в проведенной ведомости. Отмените проводку и попробуйте снова");

template <class Dialog>
Dialog* createDialog(const QString& className, QWidget* owner) {
    auto* dialog = qobject_cast<Dialog*>(api::createByClassName(className, owner));
    if (!dialog) throw api::AppError(QStringLiteral("Класс ") + className + QStringLiteral(" не зарегистрирован"));
    return dialog;
}

}  // namespace

// --- marks --------------------------------------------------------------------------------------

// Marks the grid's current pupil; a mark "ate" needs a ration (refused with a warning).
void Tfrm_mealbook::single_set_pay_attr(int corpus, int status) {
    const int account = current_pupil();
    if (status == 1) {
        auto ration = statement({QStringLiteral("select p.daily_ration as ration from pay_list_sp p, pay_list p1"),
                                 QStringLiteral("where p.doc_no = p1.doc_no"),
                                 QStringLiteral("and p.entry_date = :on_date"),
                                 QStringLiteral("and p1.corpus = :corpus_id"),
                                 QStringLiteral("and p.account_id = :account_id")});
        ration->param(QStringLiteral("on_date")).setText(currentDateText());
        ration->param(QStringLiteral("corpus_id")).setInteger(corpus);
        ration->param(QStringLiteral("account_id")).setInteger(account);
        openLogged(*ration);
        if (ration->field(QStringLiteral("ration")).asInteger() == 0) {
            api::warning(QStringLiteral("Не выбран рацион питания. Для установки отметке о получении питания необходимо выбрать рацион питания учащегося"));
            api::abortSilently();
        }
    }
    auto update = statement({QStringLiteral("update pay_list_sp"),
                             QStringLiteral("set attr = :status"),
                             QStringLiteral("where entry_date = :on_date"),
                             QStringLiteral("and doc_no in"),
                             QStringLiteral(" ("),
                             QStringLiteral(" select doc_no from pay_list where entry_date = :on_date and corpus = :corpus_id"),
                             QStringLiteral(" )"),
                             QStringLiteral("and account_id = :account_id ")});
    update->param(QStringLiteral("status")).setInteger(status);
    update->param(QStringLiteral("on_date")).setText(currentDateText());
    update->param(QStringLiteral("corpus_id")).setInteger(corpus);
    update->param(QStringLiteral("account_id")).setInteger(account);
    execLogged(*update);
}

void Tfrm_mealbook::set_pay_attr(int status) {
    auto q = statement({QStringLiteral("update pay_list_sp t1 set attr = :status"),
                        QStringLiteral("where"),
                        QStringLiteral("doc_no = :doc_no and t1.daily_ration <> 0 and"),
                        QStringLiteral("exists(select 1 from sys_matrix t2"),
                        QStringLiteral("where view = 1 and class = :class_id and t2.account_id = t1.account_id and"),
                        QStringLiteral("exists(select 1 from ref_corpus t3"),
                        QStringLiteral("where exists(select 1 from ref_class "),
                        QStringLiteral("where class_id = t2.class and corpus = t3.corpus_id)) and"),
                        QStringLiteral("get_node_saldo(t2.node_id, t1.entry_date, 0) <> 0)")});
    q->param(QStringLiteral("status")).setInteger(status);
    q->param(QStringLiteral("doc_no")).setInteger(get_pay_list_number());
    q->param(QStringLiteral("class_id")).setInteger(currentClass());
    execLogged(*q);
}

void Tfrm_mealbook::grid_pay_listDblClick() {
    if (check_status_pay_list() != 0) {
        api::warning(kPostedSpecification);
        show_count_on_food();
        api::abortSilently();
    }
    const int attrColumn = z_pay_list->fieldIndex(QStringLiteral("attr"));
    if (current_pupil() != 0 && attrColumn >= 0 && grid_pay_list->currentIndex().column() == attrColumn) {
        const int account = current_pupil();
        const bool ate = z_pay_list->field(QStringLiteral("attr")).asInteger() == 1;
        try {
            single_set_pay_attr(currentCorpus(), ate ? 0 : 1);
        } catch (const api::Abort&) {
            show_count_on_food();
            throw;
        }
        get_pay_list();
        select_pupil(account);
    }
    show_count_on_food();
}

void Tfrm_mealbook::N4Click() {
    if (refuse_posted_change()) api::abortSilently();
    set_pay_attr(1);
    get_pay_list();
}

void Tfrm_mealbook::N5Click() {
    if (refuse_posted_change()) api::abortSilently();
    set_pay_attr(0);
    get_pay_list();
}

bool Tfrm_mealbook::refuse_posted_change() {
    if (check_status_pay_list() != 4) return false;
    api::warning(kPostedSpecification);
    return true;
}

void Tfrm_mealbook::J2Click() {
    if (check_status_pay_list() == 4) {
        api::warning(QStringLiteral("Вы пытаетесь изменить списочный состав в проведенной ведомости. Отмените проводку и попробуйте снова"));
        api::abortSilently();
    }
    create_pay_list(currentCorpus());
    get_pay_list();
    api::info(QStringLiteral("Классный состав обновлен"));
}

// --- posting and rollback ---------------------------------------------------------------------

void Tfrm_mealbook::set_pay_list_status(int corpus, int status) {
    const api::WaitCursor hourglass;
    auto q = statement({QStringLiteral("update pay_list set status = :status where entry_date = :on_date and corpus =:corpus_id")});
    q->param(QStringLiteral("status")).setInteger(status);
    q->param(QStringLiteral("on_date")).setText(currentDateText());
    q->param(QStringLiteral("corpus_id")).setInteger(corpus);
    execLogged(*q);
}

namespace {

enum class StatusAction { Post, Rollback };

}  // namespace

static void changeStatus(Tfrm_mealbook& window, StatusAction action) {
    const int corpus = window.currentCorpus();
    if (window.exists_refused_pay_list_date(window.currentDate())) {
        api::warning(QStringLiteral("Уважаемый пользователь, для выбранной даты установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. "));
        api::abortSilently();
    }
    if (window.check_lock_pay_list(corpus) == 1) {
        api::warning(QStringLiteral("Уважаемый пользователь, для выбранного вами корпуса установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. ") +
                     QStringLiteral("\r") + QStringLiteral("Администратор ") + window.get_blocked_admin_name(corpus));
        api::abortSilently();
    }
    const int status = window.check_status_pay_list();
    if (action == StatusAction::Post) {
        if (status == 0) {
            window.set_pay_list_status(corpus, 4);
            api::info(QStringLiteral("Ведомость успешно проведена"));
        } else {
            api::info(QStringLiteral("Ведомость уже была проведена ранее."));
        }
    } else {
        if (status == 4) {
            window.set_pay_list_status(corpus, 0);
            api::info(QStringLiteral("Отмена проведения выполнена"));
        } else {
            api::info(QStringLiteral("Статус ведомости уже был изменен ранее"));
        }
    }
    window.show_doc_state();
}

void Tfrm_mealbook::N2Click() { changeStatus(*this, StatusAction::Post); }
void Tfrm_mealbook::N3Click() { changeStatus(*this, StatusAction::Rollback); }

void Tfrm_mealbook::btn_goMouseUp() { popup_change_status->popup(QCursor::pos()); }

// --- note -------------------------------------------------------------------------------------

void Tfrm_mealbook::update_note(int corpus, const QString& text, const QDate& date) {
    auto q = statement({QStringLiteral("update pay_list set note = :note where entry_date = :on_date and corpus = :corpus_id")});
    q->param(QStringLiteral("note")).setText(text);
    q->param(QStringLiteral("on_date")).setDate(date);
    q->param(QStringLiteral("corpus_id")).setInteger(corpus);
    execLogged(*q);
}

void Tfrm_mealbook::Button1Click() { update_note(currentCorpus(), note_memo->toPlainText(), currentDate()); }

// --- legend and statistics --------------------------------------------------------------------

void Tfrm_mealbook::Button3Click() {
    QPointer<api::Tfrm_legend> legend = createDialog<api::Tfrm_legend>(QStringLiteral("tfrm_legend"), this);
    legend->setWindowTitle(QStringLiteral("Легенда"));
    legend->exec();
    delete legend;
}

void Tfrm_mealbook::SpeedButton2Click() {
    QPointer<api::Tfrm_stat_report> stat = createDialog<api::Tfrm_stat_report>(QStringLiteral("Tfrm_stat_report"), this);
    stat->paralel_id = currentParalel();
    stat->class_id = currentClass();
    stat->doc_no = get_pay_list_number();
    stat->on_date = currentDate();
    stat->setWindowTitle(QStringLiteral("Статистика по рационам в разрезе класса"));
    const api::WaitCursor hourglass;
    stat->exec();
    delete stat;
}
