#include "Main.h"
#include "GuardedRun.h"
#include "MessageBoxDialogs.h"
#include "Program.h"
#include "QtTranslation.h"
#include "TerminationSignals.h"
#include "WorkingFolder.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("kx520s-pc"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kx520s-pc")));
    QTranslator qtTexts;
    installPolishQtTexts(qtTexts);
    return runGuarded(
        [] {
            MessageBoxDialogs dialogs;
            const ProgramFolders folders = chooseProgramFolders(runningFolderFacts());
            if (const QString failure = prepareWorkingFolder(folders); !failure.isEmpty()) {
                dialogs.message(failure);
                return 1;
            }
            WorkingFolderLock lock(folders.work);
            if (!lock.take(dialogs))
                return 1;
            Program program(dialogs, nullptr, folders);
            closeOnTerminationSignals(program.main());
            program.main().show();
            return QApplication::exec();
        },
        [](const QString &message) { QMessageBox::critical(nullptr, QApplication::applicationName(), message); });
}
