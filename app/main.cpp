#include "Main.h"
#include "MessageBoxDialogs.h"
#include "Program.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    try {
        MessageBoxDialogs dialogs;
        Program program(dialogs);
        program.main().show();
        QApplication::exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString());
    }
    return 0;
}
