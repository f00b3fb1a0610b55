#include "MessageBoxDialogs.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxDialogs::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok);
    box.exec();
}

void MessageBoxDialogs::information(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok);
    box.exec();
}
