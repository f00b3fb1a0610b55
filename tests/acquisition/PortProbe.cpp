// Opens a port as the account it runs under and prints what the program would tell its user.
#include "PortFailureText.h"
#include "Tserial_event.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    Tserial_event port;
    if (port.open(argv[1], 57600, 0, 8, false) == 0) {
        port.close();
        std::puts("opened");
        return 0;
    }
    const QString first = QStringLiteral("Nie mozna otworzyc portu %1").arg(QString::fromLocal8Bit(argv[1]));
    std::fputs(PortFailureText::message(first, port.lastFailure()).toUtf8().constData(), stdout);
    return 0;
}
