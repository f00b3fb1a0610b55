#include "Main.h"
#include "GuardedRun.h"
#include "MessageBoxDialogs.h"
#include "Program.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    return runGuarded(
        [] {
            MessageBoxDialogs dialogs;
            Program program(dialogs);
            program.main().show();
            return QApplication::exec();
        },
        [](const QString &message) { QMessageBox::critical(nullptr, QApplication::applicationName(), message); });
}
