#pragma once
// The login window: collects the connection profile, tries the servers of servers.txt one
// after another, stores the profile, labels the main window and records the session.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Tmain_form;

class Tfrm_login : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_login(Tmain_form* main_form);

    // Line n (1-based) of servers.txt, read afresh; sets s_count. Throws api::AppError
    // when the file cannot be read or has no such line.
    QString get_server_name_by_pos(int n);

    void write_session_log(const QString& schema_name, const QString& version_client,
                           const QString& mac_addr);

    // Whether the way the window ended ends the program ("Закрыть", or closed while not
    // connected).
    bool endsProcess() const { return endsProcess_; }

    QString file_name;  // the settings file
    int s_count = 0;    // lines of servers.txt as last read

    QLabel* pnl_header;
    QLineEdit* ed_server;
    QLineEdit* ed_port;
    QLineEdit* ed_database;
    QLineEdit* ed_login;
    QLineEdit* ed_passwd;
    QPushButton* btn_connect;
    QPushButton* btn_close;

public slots:
    void FormShow();
    void FormActivate();
    void btn_connectClick();
    void btn_closeClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void FormCreate();
    void FormClose();
    int portNumber() const;

    Tmain_form* main_form_;
    bool endsProcess_ = false;
};
