#pragma once

#include <QList>
#include <memory>

class QWidget;
class UserDialogs;
class TForm1;
class TMnoznikForm;
class TWartoscForm;
class TO_programieForm;
class TKonigLiniiForm;
class TCOM_DBG_Form;
class TAsystentForm;

/// The program's seven windows, created in their fixed order and destroyed in reverse.
class Program {
public:
    explicit Program(UserDialogs &dialogs);
    ~Program();

    TForm1 &main() { return *form1; }
    TAsystentForm &wizard() { return *asystent; }
    TCOM_DBG_Form &monitor() { return *debugger; }
    /// In the order of creation.
    QList<QWidget *> windows() const;

private:
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TMnoznikForm> mnoznik;
    std::unique_ptr<TWartoscForm> wartosc;
    std::unique_ptr<TO_programieForm> about;
    std::unique_ptr<TKonigLiniiForm> lines;
    std::unique_ptr<TCOM_DBG_Form> debugger;
    std::unique_ptr<TAsystentForm> asystent;
};
