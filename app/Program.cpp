#include "Program.h"

#include "AsystenLaczenia.h"
#include "Com_debugger.h"
#include "Konfigliniform.h"
#include "Main.h"
#include "Mnoznikunit.h"
#include "O_programie_unit.h"
#include "Wartoscunit.h"

#include <QApplication>

Program::Program(UserDialogs &dialogs)
{
    QApplication::setApplicationName(QStringLiteral("KX520S-PC"));
    // The main window alone decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    form1 = std::make_unique<TForm1>(dialogs);
    mnoznik = std::make_unique<TMnoznikForm>();
    wartosc = std::make_unique<TWartoscForm>();
    about = std::make_unique<TO_programieForm>();
    lines = std::make_unique<TKonigLiniiForm>();
    debugger = std::make_unique<TCOM_DBG_Form>();
    asystent = std::make_unique<TAsystentForm>();
    form1->attachWindows({mnoznik.get(), wartosc.get(), about.get(), lines.get(), debugger.get(), asystent.get()});
}

Program::~Program()
{
    // The port stops first; the windows then go in reverse order of creation (the members'
    // order), each before the main window whose state it refers to.
    form1->port().shutdownQuietly();
}

QList<QWidget *> Program::windows() const
{
    return {form1.get(), mnoznik.get(), wartosc.get(), about.get(), lines.get(), debugger.get(), asystent.get()};
}
