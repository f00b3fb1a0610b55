// A program sampling continuously with every sample registered, in the folder given, until it
// is killed. Each registration's time is printed once the journal has taken it.
#include "ConfigText.h"
#include "ContinuousSampling.h"
#include "MeasurementSession.h"
#include "PtyInstrument.h"
#include "RecordingDialogs.h"
#include "RegisterRow.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1])))
        return 2;
    PtyInstrument sim;
    sim.setFaults({.lineTiming = true});
    QFile config(QStringLiteral("config.ini"));
    if (!config.open(QIODevice::WriteOnly) || config.write(configText(QString::fromStdString(sim.portName()))) < 0)
        return 2;
    config.close();

    RecordingDialogs dialogs;
    Program program(dialogs);
    // Connected after the journal's own connection, so it runs after the journal took the row.
    QObject::connect(&program.session(), &MeasurementSession::rowRegistered, [](const RegisterRow &row) {
        std::printf("%.17g\n", row.measTime);
        std::fflush(stdout);
    });
    if (!startContinuousSampling(program))
        return 3;
    return QApplication::exec();
}
