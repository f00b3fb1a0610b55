// Takes the screenshots of the finished windows that docs/ and the manual show: the
// program connected to the simulated instrument, sampling, recording and registering.
// Run it under a real X server (xvfb-run) so that fonts render as a user sees them.
#include "Main.h"
#include "AsystenLaczenia.h"
#include "ChartPage.h"
#include "DeviceLink.h"
#include "Program.h"
#include "PtyInstrument.h"
#include "RegisterPage.h"
#include "UserDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

/// Nobody answers boxes here: the run is scripted.
class SilentDialogs : public UserDialogs {
public:
    void message(const QString &text) override { std::printf("message: %s\n", qPrintable(text)); }
    void information(const QString &text, const QString &) override { message(text); }
    bool confirm(const QString &) override { return false; }
    std::optional<ChosenFile> saveFile(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<ChosenFile> openFile(const FileDialogRequest &) override { return std::nullopt; }
};

/// Runs the event loop as the program does, so that it blocks when idle and the idle
/// handler paces the requests.
bool runUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

void runFor(int ms)
{
    runUntil([] { return false; }, ms);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    const QString data = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("data");
    QDir().mkpath(out);
    const QString outDir = QDir(out).absolutePath();

    PtyInstrument sim;
    QTemporaryDir work;
    for (const QString &name : {QStringLiteral("Grafika/MODE_1.jpg"), QStringLiteral("Grafika/MODE_2.jpg"),
                                QStringLiteral("Grafika/MODE_3.jpg"), QStringLiteral("Grafika/MODE_4.jpg")}) {
        QDir(work.path()).mkpath(QStringLiteral("Grafika"));
        QFile::copy(data + "/" + name, work.filePath(name));
    }
    QFile config(data + "/config.ini");
    if (config.open(QIODevice::ReadOnly)) {
        QByteArray text = config.readAll();
        text.replace("COM1", QByteArray::fromStdString(sim.portName()));
        QFile copy(work.filePath("config.ini"));
        if (copy.open(QIODevice::WriteOnly))
            copy.write(text);
    }
    QDir::setCurrent(work.path());

    SilentDialogs dialogs;
    Program program(dialogs);
    TForm1 &form = program.main();
    form.show();
    if (!runUntil([&] { return program.link().connection().deviceFound; }, 20000)) {
        std::printf("the program did not connect\n");
        return 1;
    }
    program.wizard().hide();
    for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3"})
        form.findChild<QCheckBox *>(box)->setChecked(true);
    program.chart().SpeedButton15Click();
    form.SpeedButton10Click();
    runFor(6000);
    program.registerPage().BitBtn5Click();

    auto *tabs = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    const auto shoot = [&](int tab, const char *name) {
        tabs->setCurrentIndex(tab);
        runFor(400);
        const QString path = outDir + "/" + name + ".png";
        std::printf("%s %s\n", form.grab().save(path) ? "written:" : "not written:", qPrintable(path));
    };
    shoot(0, "wskazniki");
    shoot(2, "wykres");
    shoot(3, "rejestracja");
    // The settings tab as the user changes it: acquisition stopped, the groups unlocked.
    form.SpeedButton11Click();
    shoot(1, "urzadzenie");
    return 0;
}
