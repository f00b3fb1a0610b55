#include "HelpDocuments.h"
#include "RecordingDialogs.h"
#include "RecordingLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

/// A working folder holding the given files (paths relative to it).
struct Fixture {
    explicit Fixture(const QStringList &files)
    {
        for (const QString &name : files) {
            QDir().mkpath(QFileInfo(dir.filePath(name)).path());
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write("x");
        }
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    RecordingLauncher launcher;
    HelpDocuments help{dialogs, launcher, {dir.path(), dir.path()}};
};

} // namespace

class HelpDocumentsTest : public QObject {
    Q_OBJECT

private slots:
    void helpOpensItsPage_data();
    void helpOpensItsPage();
    void missingHelpIsReported();
    void manualOpensWithTheViewer_data();
    void manualOpensWithTheViewer();
    void missingManualIsReported();
    void viewerThatRefusesIsReported();
};

void HelpDocumentsTest::helpOpensItsPage_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("opened");
    QTest::newRow("page named like the help file") << QStringList{"Help/KX520S-PC.html"} << "Help/KX520S-PC.html";
    QTest::newRow("folder and name in other cases") << QStringList{"HELP/kx520s-pc.HTML"} << "HELP/kx520s-pc.HTML";
    QTest::newRow("only an index") << QStringList{"help/index.html"} << "help/index.html";
    QTest::newRow("named page before the index")
        << QStringList{"Help/index.html", "Help/KX520S-PC.html"} << "Help/KX520S-PC.html";
}

void HelpDocumentsTest::helpOpensItsPage()
{
    QFETCH(QStringList, files);
    QFETCH(QString, opened);
    Fixture f(files);
    f.help.pomocprogramu1Click();
    QCOMPARE(f.launcher.opened, QStringList{f.path(opened)});
    QVERIFY(f.dialogs.shown.isEmpty());
}

void HelpDocumentsTest::missingHelpIsReported()
{
    Fixture f({"Help/KX520S-PC.hlp", "Help/KX520S rev 1.0_instrukcja_obslugi.pdf"});
    f.help.pomocprogramu1Click();
    QVERIFY(f.launcher.opened.isEmpty());
    QCOMPARE(f.dialogs.shown, QStringList{"Nie znaleziono pomocy programu w folderze " + f.path("Help") + "."});
}

void HelpDocumentsTest::manualOpensWithTheViewer_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("as named") << "Help/KX520S rev 1.0_instrukcja_obslugi.pdf";
    QTest::newRow("other cases") << "help/kx520s REV 1.0_Instrukcja_Obslugi.PDF";
}

void HelpDocumentsTest::manualOpensWithTheViewer()
{
    QFETCH(QString, file);
    Fixture f({file});
    f.help.instrukcjaKX520Q1Click();
    QCOMPARE(f.launcher.opened, QStringList{f.path(file)});
    QVERIFY(f.dialogs.shown.isEmpty());
}

void HelpDocumentsTest::missingManualIsReported()
{
    Fixture f({"Help/KX520S-PC.html"});
    f.help.instrukcjaKX520Q1Click();
    QVERIFY(f.launcher.opened.isEmpty());
    QCOMPARE(f.dialogs.shown, QStringList{"Nie znaleziono instrukcji obsługi " +
                                          f.path("Help/KX520S rev 1.0_instrukcja_obslugi.pdf") + "."});
}

void HelpDocumentsTest::viewerThatRefusesIsReported()
{
    Fixture f({"Help/KX520S-PC.html", "Help/KX520S rev 1.0_instrukcja_obslugi.pdf"});
    f.launcher.succeeds = false;
    f.help.pomocprogramu1Click();
    f.help.instrukcjaKX520Q1Click();
    QCOMPARE(f.launcher.opened.size(), 2);
    QCOMPARE(f.dialogs.shown.size(), 2);
    QVERIFY(f.dialogs.shown[0].startsWith("Nie można otworzyć pomocy programu"));
    QVERIFY(f.dialogs.shown[1].startsWith("Nie można otworzyć instrukcji obsługi"));
}

QTEST_GUILESS_MAIN(HelpDocumentsTest)
#include "tst_helpdocuments.moc"
