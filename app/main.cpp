#include "Main.h"
#include "MessageBoxDialogs.h"
#include "Program.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

int main(int argc, char *argv[])
{
    try {
        QApplication application(argc, argv);
        MessageBoxDialogs dialogs;
        Program program(dialogs);
        program.main().show();
        QApplication::exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QStringLiteral("KX520S-PC"), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("KX520S-PC"), QString());
    }
    return 0;
}
