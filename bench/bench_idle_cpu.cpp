// CPU used by the whole program while its port is open and nothing arrives.
#include "DeviceLink.h"
#include "HeldStartUp.h"
#include "Main.h"
#include "MessageBoxDialogs.h"
#include "Program.h"
#include "PtyPair.h"
#include "RecordingDialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());

    PtyPair pty;
    if (!pty.ok())
        return 1;

    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    program.main().show();
    if (program.link().open(QString::fromLatin1(pty.portName()), 57600, true) != 0)
        return 1;

    double startCpu = 0;
    QTimer::singleShot(2000, [&] { startCpu = cpuSeconds(); }); // after start-up settles
    QTimer::singleShot(2000 + seconds * 1000, [&] {
        const double used = cpuSeconds() - startCpu;
        std::printf("idle with the port open for %d s: %.3f s CPU (%.2f %% of one core)\n", seconds, used,
                    100.0 * used / seconds);
        QApplication::quit();
    });
    QApplication::exec();
    return 0;
}
