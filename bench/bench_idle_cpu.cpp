// CPU used by the whole program while its port is open and nothing arrives.
#include "Main.h"
#include "MessageBoxDialogs.h"
#include "Program.h"
#include "UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct SilentDialogs : UserDialogs {
    void message(const QString &) override {}
    void information(const QString &, const QString &) override {}
};

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

    int master = -1, slave = -1;
    char name[64];
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, name, &raw, nullptr) != 0)
        return 1;

    SilentDialogs dialogs;
    Program program(dialogs);
    program.main().show();
    program.main().port().setReadSize(64);
    if (program.main().port().open(name + 5, 57600, 0, 8, false) != 0)
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
