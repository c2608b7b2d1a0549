// Rations and pupil attributes from the pay-list grid's popup menu, and the kindergarten
// orders.

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

#include "abort.h"
#include "acc_food.h"
#include "app_error.h"
#include "dialog_tag.h"
#include "dm_api.h"
#include "logged_action.h"
#include "meals/U_multiply_set_ft.h"
#include "meals/Unit_orders.h"
#include "meals/Unit_people_privelege_period.h"
#include "meals/Unit_set_ft.h"
#include "mealbook_db.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "widgets/db_grid.h"

using mealbook::execLogged;
using mealbook::openLogged;
using mealbook::statement;

namespace {

template <class Dialog>
QPointer<Dialog> createDialog(const QString& className, QWidget* owner) {
    auto* dialog = qobject_cast<Dialog*>(api::createByClassName(className, owner));
    if (!dialog) throw api::AppError(QStringLiteral("Класс ") + className + QStringLiteral(" не зарегистрирован"));
    return dialog;
}

// A whole-number parameter from a dialog's key; null when nothing was chosen.
void bindKey(db::Param& param, const QVariant& key) {
    if (key.isNull())
        param.setNull();
    else
        param.setInteger(key.toLongLong());
}

}  // namespace

void Tfrm_mealbook::buildFoodPopup() {
    popup_food = new QMenu(this);
    popup_food->setObjectName(QStringLiteral("popup_food"));
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, void (Tfrm_mealbook::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (handler) connect(action, &QAction::triggered, this, handler);
        return action;
    };
    N4 = item(popup_food, "N4", QStringLiteral("Установить \"питался\" для всех"), &Tfrm_mealbook::N4Click);
    N5 = item(popup_food, "N5", QStringLiteral("Установить \"не питался\" для всех"), &Tfrm_mealbook::N5Click);
    J1 = item(popup_food, "J1", QStringLiteral("Обновить рацион для класса"), &Tfrm_mealbook::J1Click);
    J2 = item(popup_food, "J2", QStringLiteral("Обновить классный состав"), &Tfrm_mealbook::J2Click);
    popup_food->addSeparator();
    N67 = item(popup_food, "N67", QStringLiteral("Выставить рацион для класса"), &Tfrm_mealbook::N67Click);
    popup_food->addSeparator();
    change_type = popup_food->addMenu(QStringLiteral("Изменить рацион питания"));
    change_type->setObjectName(QStringLiteral("change_type"));
    N49 = item(popup_food, "N49", QStringLiteral("Установить выбранный рацион на неделю"), &Tfrm_mealbook::N49Click);
    N1 = item(popup_food, "N1", QStringLiteral("Задать рацион по дням недели"), &Tfrm_mealbook::N1Click);
    popup_food->addSeparator();
    N10 = popup_food->addMenu(QStringLiteral("Инвалидность"));
    N10->setObjectName(QStringLiteral("N10"));
    N11 = item(N10, "N11", QStringLiteral("Установить"), &Tfrm_mealbook::N11Click);
    N12 = item(N10, "N12", QStringLiteral("Снять"), &Tfrm_mealbook::N12Click);
    sep_is_700 = popup_food->addSeparator();
    sep_is_700->setObjectName(QStringLiteral("sep_is_700"));
    popup_is_700 = popup_food->addMenu(QStringLiteral("Размер пособия на питание ребенка 700 рублей"));
    popup_is_700->setObjectName(QStringLiteral("popup_is_700"));
    N51 = item(popup_is_700, "N51", QStringLiteral("Установить"), &Tfrm_mealbook::N51Click);
    N52 = item(popup_is_700, "N52", QStringLiteral("Снять"), &Tfrm_mealbook::N52Click);
    popup_food->addSeparator();
    N50 = item(popup_food, "N50", QStringLiteral("Детализация счета"), &Tfrm_mealbook::N50Click);
}

void Tfrm_mealbook::popup_foodPopup() {
    generate_submenu();
    const bool allowance = api::Tapi_dm::get_acl_list_for_function(QStringLiteral("popup_is_700"));
    sep_is_700->setVisible(allowance);
    popup_is_700->menuAction()->setVisible(allowance);
}

void Tfrm_mealbook::generate_submenu() {
    change_type->clear();
    auto q = statement({QStringLiteral("select r.daily_ration_id, r.name from public.ref_daily_ration r, daily_ration_available a"),
                        QStringLiteral("  where a.daily_ration_id = r.daily_ration_id"),
                        QStringLiteral("and a.corpus_id = :corpus"),
                        QStringLiteral("and a.attr = 1"),
                        QStringLiteral("order by r.name asc")});
    q->param(QStringLiteral("corpus")).setInteger(currentCorpus());
    openLogged(*q);
    QString previous;
    bool first = true;
    for (q->first(); !q->eof(); q->next()) {
        const QString name = q->field(QStringLiteral("name")).asString();
        if (!first && name == previous) continue;
        first = false;
        previous = name;
        const int ration = int(q->field(QStringLiteral("daily_ration_id")).asInteger());
        QAction* action = change_type->addAction(name);
        action->setData(ration);
        connect(action, &QAction::triggered, this, [this, ration] { get_tag_food(ration); });
    }
}

void Tfrm_mealbook::reload_keeping_pupil() {
    const int account = current_pupil();
    get_pay_list();
    select_pupil(account);
}

void Tfrm_mealbook::get_tag_food(int ration) {
    const int account = current_pupil();
    if (check_status_pay_list() == 4) {
        api::warning(QStringLiteral("Вы пытаетесь изменить спецификацию в проведенной ведомости. Отмените проводку и попробуйте снова"));
    } else {
        auto q = statement({QStringLiteral("update pay_list_sp set daily_ration = :ration_id where account_id = :account_id and entry_date = :on_date")});
        q->param(QStringLiteral("ration_id")).setInteger(ration);
        q->param(QStringLiteral("account_id")).setInteger(account);
        q->param(QStringLiteral("on_date")).setText(currentDateText());
        execLogged(*q);
        if (api::ask(QStringLiteral("Закрепить выбранный рацион питания для учащегося на неделю ? "))) {
            get_pay_list();
            select_pupil(account);
            set_selected_ration_on_week(account, currentDate(), ration);
        }
        api::logged(mealbook::kLogModule, [&] { api::Tapi_dm::set_priv_period(account, 2, currentDate()); });
    }
    get_pay_list();
    select_pupil(account);
}

void Tfrm_mealbook::set_selected_ration_on_week(int account, const QDate& date, int ration) {
    if (refuse_posted_change()) api::abortSilently();
    auto q = statement({QStringLiteral("select from public.set_multiply_daly_ration(:p_account_id, :p_on_date, :p_daily_ration)")});
    q->param(QStringLiteral("p_account_id")).setInteger(account);
    q->param(QStringLiteral("p_on_date")).setDateTime(date.startOfDay());
    q->param(QStringLiteral("p_daily_ration")).setInteger(ration);
    openLogged(*q);
}

void Tfrm_mealbook::N49Click() {
    if (refuse_posted_change()) api::abortSilently();
    auto q = statement({QStringLiteral("select daily_ration_id from public.ref_daily_ration"),
                        QStringLiteral("where name = :name_ration")});
    q->param(QStringLiteral("name_ration")).setText(z_pay_list->field(QStringLiteral("name")).asString());
    openLogged(*q);
    set_selected_ration_on_week(current_pupil(), currentDate(), int(q->field(QStringLiteral("daily_ration_id")).asInteger()));
    api::info(QStringLiteral("Расписание рационов питния для учащегося на неделю успешно обновлено "));
}

int Tfrm_mealbook::exist_human_type(int account) {
    auto q = statement({QStringLiteral("select count(f.account_id) as cnt from human_food_type f where f.account_id = :account_id")});
    q->param(QStringLiteral("account_id")).setInteger(account);
    openLogged(*q);
    return int(q->field(QStringLiteral("cnt")).asInteger());
}

void Tfrm_mealbook::update_ration(int account) {
    auto q = statement({QStringLiteral("select update_ration(:account_id, :on_date)")});
    q->param(QStringLiteral("account_id")).setInteger(account);
    q->param(QStringLiteral("on_date")).setText(currentDateText());
    openLogged(*q);
}

void Tfrm_mealbook::N1Click() {
    if (refuse_posted_change()) api::abortSilently();
    const int account = current_pupil();
    auto dialog = createDialog<api::Tfrm_set_food_type>(QStringLiteral("Tfrm_set_food_type"), this);
    dialog->selected_corpus = currentCorpus();
    dialog->selected_account = account;
    dialog->exec();
    if (!dialog) return;
    const bool confirmed = api::tagOf(dialog->btn_set_food_type) == api::kTagConfirmed;
    if (confirmed) {
        static const char* const kDays[] = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};
        std::unique_ptr<db::Query> store;
        if (exist_human_type(account) != 0) {
            store = statement({QStringLiteral("update human_food_type set monday_ration = :monday, tuesday_ration = :tuesday, wednesday_ration = :wednesday, thursday_ration = :thursday, friday_ration =:friday, saturday_ration = :saturday, sunday_ration = :sunday"),
                               QStringLiteral("where account_id = :account_id")});
        } else {
            store = statement({QStringLiteral("insert into human_food_type (account_id, monday_ration,tuesday_ration, wednesday_ration, thursday_ration, friday_ration, saturday_ration, sunday_ration)"),
                               QStringLiteral("values (:account_id,:monday,:tuesday,:wednesday,:thursday,:friday,:saturday, :sunday)")});
        }
        for (int day = 0; day < 7; ++day) bindKey(store->param(QString::fromLatin1(kDays[day])), dialog->rationOf(day));
        store->param(QStringLiteral("account_id")).setInteger(account);
        execLogged(*store);
        update_ration(account);
        get_pay_list();
        select_pupil(account);
    }
    delete dialog.data();
}

void Tfrm_mealbook::N67Click() {
    auto dialog = createDialog<api::Tfrm_multiply_set_ft>(QStringLiteral("Tfrm_multiply_set_ft"), this);
    dialog->corpus_id = currentCorpus();
    dialog->setWindowTitle(QStringLiteral("Установить рацион для всего класса"));
    dialog->exec();
    if (!dialog) return;
    const bool confirmed = api::tagOf(dialog->btn_save_sel_ration_for_cl) == api::kTagConfirmed &&
                           dialog->z_ft_list->recordCount() > 0;
    const int ration = confirmed ? int(dialog->z_ft_list->field(QStringLiteral("daily_ration_id")).asInteger()) : 0;
    delete dialog.data();
    if (!confirmed) return;
    set_daily_ration_for_cl(ration);
    reload_keeping_pupil();
}

void Tfrm_mealbook::set_daily_ration_for_cl(int ration) {
    if (refuse_posted_change()) api::abortSilently();
    auto q = statement({QStringLiteral("select from service_docs.set_daily_ration_for_class(:p_edu_org, :p_doc_no, :p_class, :p_daily_ration)")});
    q->param(QStringLiteral("p_edu_org")).setText(api::userName());
    q->param(QStringLiteral("p_doc_no")).setInteger(get_pay_list_number());
    q->param(QStringLiteral("p_class")).setInteger(currentClass());
    q->param(QStringLiteral("p_daily_ration")).setInteger(ration);
    openLogged(*q);
    api::info(QStringLiteral("Выбранный рацион успешно установлен для класса"));
}

void Tfrm_mealbook::update_ration_for_class(const QDate& date, int paralel, int klass) {
    if (refuse_posted_change()) api::abortSilently();
    auto q = statement({QStringLiteral("select from update_ration_for_class(:on_date,:paralel_id,:class_id)")});
    q->param(QStringLiteral("on_date")).setDateTime(date.startOfDay());
    q->param(QStringLiteral("paralel_id")).setInteger(paralel);
    q->param(QStringLiteral("class_id")).setInteger(klass);
    openLogged(*q);
}

void Tfrm_mealbook::J1Click() {
    update_ration_for_class(currentDate(), currentParalel(), currentClass());
    reload_keeping_pupil();
    api::info(QStringLiteral("Перечень рационов питания успешно обновлен! "));
}

// --- disability and the 700-rouble allowance -------------------------------------------------

void Tfrm_mealbook::N11Click() {
    api::logged(mealbook::kLogModule, [&] { api::Tapi_dm::set_is_invalid_attr(1, current_pupil()); });
    reload_keeping_pupil();
}

void Tfrm_mealbook::N12Click() {
    api::logged(mealbook::kLogModule, [&] { api::Tapi_dm::set_is_invalid_attr(0, current_pupil()); });
    reload_keeping_pupil();
}

namespace {

void showAllowancePeriods(QWidget* owner, quint8 mode, int account, const QString& fio, const QDate& date,
                          const std::function<void()>& beforeList) {
    auto dialog = createDialog<api::Tfrm_account_privelege_period>(QStringLiteral("Tfrm_account_privelege_period"), owner);
    dialog->mode = mode;
    dialog->account_id = account;
    dialog->pupil_fio = fio;
    dialog->entry_date = date;
    if (beforeList) beforeList();
    api::logged(mealbook::kLogModule, [&] { dialog->get_list_priv(*dialog->z_priv, account); });
    dialog->exec();
    delete dialog.data();
}

}  // namespace

void Tfrm_mealbook::N51Click() {
    const int account = current_pupil();
    const QString fio = z_pay_list->field(QStringLiteral("fio")).asString();
    api::logged(mealbook::kLogModule, [&] { api::Tapi_dm::set_priv_period(account, 1, currentDate()); });
    showAllowancePeriods(this, 1, account, fio, currentDate(), {});
    reload_keeping_pupil();
}

void Tfrm_mealbook::N52Click() {
    const int account = current_pupil();
    if (z_pay_list->field(QStringLiteral("is_700")).asInteger() != 1) {
        api::info(QStringLiteral("У данного учащегося нет назначенных льгот."));
        reload_keeping_pupil();
        return;
    }
    const QString fio = z_pay_list->field(QStringLiteral("fio")).asString();
    showAllowancePeriods(this, 2, account, fio, currentDate(), [&] {
        api::logged(mealbook::kLogModule, [&] { api::Tapi_dm::set_priv_period(account, 2, currentDate()); });
    });
    reload_keeping_pupil();
}

// --- kindergarten orders --------------------------------------------------------------------

void Tfrm_mealbook::btn_ordersClick() {
    auto dialog = createDialog<api::Tfrm_orders>(QStringLiteral("Tfrm_orders"), this);
    dialog->setWindowTitle(QStringLiteral("Заявки"));
    dialog->exec();
    if (!dialog) return;
    QStringList counts;
    const bool confirmed = api::tagOf(dialog->btn_go) == api::kTagConfirmed;
    if (confirmed)
        for (QLineEdit* field : {dialog->ed_junior_4, dialog->ed_chgard_4, dialog->ed_junior_5, dialog->ed_chgard_5,
                                 dialog->ed_tub_junior_5, dialog->ed_tub_chgard_5, dialog->ed_diabetes_junior_5,
                                 dialog->ed_diabetes_chgard_5})
            counts << field->text();
    delete dialog.data();
    if (confirmed) save_chgard_order(counts);
}

// The eight counts in the dialog's order go to the parameters in the order the call
// writes them; the server takes them by position.
void Tfrm_mealbook::save_chgard_order(const QStringList& counts) {
    const int corpus = currentCorpus();
    auto order = statement({QStringLiteral("select from public.save_chgard_order(:p_schema_name, :par_junior_4, :par_chgard_4, :par_tuberculosis_4, :par_diabetes_4, "),
                            QStringLiteral(":par_junior_5, :par_chgard_5, :par_tuberculosis_5, :par_diabetes_5, :p_corpus_id )")});
    static const char* const kParams[] = {"par_junior_4", "par_chgard_4", "par_tuberculosis_4", "par_diabetes_4",
                                          "par_junior_5", "par_chgard_5", "par_tuberculosis_5", "par_diabetes_5"};
    order->param(QStringLiteral("p_schema_name")).setText(api::userName());
    for (int i = 0; i < 8; ++i) {
        const QString count = i < counts.size() ? counts[i].trimmed() : QString();
        order->param(QString::fromLatin1(kParams[i])).setText(count.isEmpty() ? QStringLiteral("0") : count);
    }
    order->param(QStringLiteral("p_corpus_id")).setInteger(corpus);
    execLogged(*order);

    auto building = statement({QStringLiteral("select note, id_1c from ref_corpus where corpus_id = :p_corpus_id")});
    building->param(QStringLiteral("p_corpus_id")).setInteger(corpus);
    openLogged(*building);
    const QString note = building->field(QStringLiteral("note")).asString();

    auto codes = statement({QStringLiteral("update public.chgard_orders set corpus_note = :note, corpus_1c_code = :1c_code where schema_name = :schema_name and corpus_id = :p_corpus_id")});
    codes->param(QStringLiteral("note")).setText(note);
    codes->param(QStringLiteral("1c_code")).setText(building->field(QStringLiteral("id_1c")).asString());
    codes->param(QStringLiteral("schema_name")).setText(api::userName());
    codes->param(QStringLiteral("p_corpus_id")).setInteger(corpus);
    execLogged(*codes);

    auto materials = statement({QStringLiteral("select * from add_chgard_materials(:p_corpus_note)")});
    materials->param(QStringLiteral("p_corpus_note")).setText(note);
    execLogged(*materials);
    api::info(QStringLiteral("Заявка успешно обработана"));
}
