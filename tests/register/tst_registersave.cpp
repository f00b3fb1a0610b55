#include "RegisterFixtures.h"
#include "RegisterSave.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

Q_DECLARE_METATYPE(std::optional<RegisterFileKind>)

class RegisterSaveTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void target_data();
    void target();
    void writtenFiles_data();
    void writtenFiles();
    void notWritten_data();
    void notWritten();
    void readOnlyFileIsKept();
    void cancelKeepsTheOldFile();
};

void RegisterSaveTest::target_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("path");
    QTest::addColumn<std::optional<RegisterFileKind>>("kind");
    QTest::addColumn<QString>("reasonPart");

    using K = std::optional<RegisterFileKind>;
    const K txt = RegisterFileKind::Txt, xls = RegisterFileKind::Xls;
    QTest::newRow("txt") << "/d/a.txt"
                         << "Text (*.txt)"
                         << "/d/a.txt" << txt << "";
    QTest::newRow("extension wins over filter") << "/d/a.Txt"
                                                << "Excel (*.xls)"
                                                << "/d/a.Txt" << txt << "";
    QTest::newRow("upper-case xls") << "/d/a.XLS"
                                    << "Text (*.txt)"
                                    << "/d/a.XLS" << xls << "";
    QTest::newRow("no extension takes the filter's") << "/d/a"
                                                     << "Excel (*.xls)"
                                                     << "/d/a.xls" << xls << "";
    QTest::newRow("dot in a folder name only") << "/d.v1/a"
                                               << "Text|*.txt"
                                               << "/d.v1/a.txt" << txt << "";
    QTest::newRow("other extension") << "/d/a.csv"
                                     << "Text (*.txt)"
                                     << "/d/a.csv" << K() << "„.csv”";
    QTest::newRow("no extension, no filter") << "/d/a"
                                             << ""
                                             << "/d/a" << K() << "nie ma rozszerzenia";
    QTest::newRow("no name chosen yet") << ""
                                        << "Text (*.txt)"
                                        << "" << K() << "Zapisz Jako";
}

void RegisterSaveTest::target()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, path);
    QFETCH(std::optional<RegisterFileKind>, kind);
    QFETCH(QString, reasonPart);

    const RegisterSaveTarget target = registerSaveTarget(name, filter);
    QCOMPARE(target.path, path);
    QCOMPARE(target.kind, kind);
    QCOMPARE(target.reason.isEmpty(), reasonPart.isEmpty());
    QVERIFY2(target.reason.contains(reasonPart), qPrintable(target.reason));
}

void RegisterSaveTest::writtenFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("goldenName");
    QTest::newRow("capital T") << "pomiar.Txt"
                               << "Excel (*.xls)"
                               << "pomiar.Txt"
                               << "three_rows.txt";
    QTest::newRow("no extension") << "pomiar"
                                  << "Excel (*.xls)"
                                  << "pomiar.xls"
                                  << "three_rows.xls";
    QTest::newRow("replaces an old file") << "old.txt"
                                          << "Text (*.txt)"
                                          << "old.txt"
                                          << "three_rows.txt";
}

void RegisterSaveTest::writtenFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QString, goldenName);

    QTemporaryDir dir;
    writeFile(dir.filePath("old.txt"), QByteArray(5000, 'x'));
    const RegisterSaveResult result = saveRegister(dir.filePath(name), filter, threeRows(), threeRowsInfo());
    QVERIFY2(result.written, qPrintable(result.message));
    QCOMPARE(result.message, QString());
    QCOMPARE(result.path, dir.filePath(written));
    QCOMPARE(contents(result.path), golden(goldenName));
}

void RegisterSaveTest::notWritten_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("reasonPart");
    QTest::newRow("folder missing") << "missing/r.txt"
                                    << "nie istnieje";
    QTest::newRow("folder is a file") << "plain/r.xls"
                                      << "nie istnieje";
    QTest::newRow("folder not writable") << "locked/r.txt"
                                         << "brak prawa zapisu";
    QTest::newRow("unknown extension") << "r.csv"
                                       << "„.csv”";
}

void RegisterSaveTest::notWritten()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, reasonPart);

    QTemporaryDir dir;
    writeFile(dir.filePath("plain"), "x");
    QVERIFY(QDir(dir.path()).mkdir("locked"));
    QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
    if (relativePath.startsWith("locked") && geteuid() == 0)
        QSKIP("the superuser writes into any folder");

    const QString path = dir.filePath(relativePath);
    const RegisterSaveResult result = saveRegister(path, "Text (*.txt)", threeRows(), threeRowsInfo());
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!result.written);
    QVERIFY(!QFile::exists(path));
    QVERIFY2(result.message.startsWith(QStringLiteral("Plik „%1” nie został zapisany: ").arg(path)),
             qPrintable(result.message));
    QVERIFY2(result.message.contains(reasonPart), qPrintable(result.message));
}

void RegisterSaveTest::readOnlyFileIsKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.txt");
    writeFile(path, "old");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));

    const RegisterSaveResult result = saveRegister(path, "Text (*.txt)", threeRows(), threeRowsInfo());
    QVERIFY(!result.written);
    QVERIFY2(result.message.contains("tylko do odczytu"), qPrintable(result.message));
    QCOMPARE(contents(path), QByteArray("old"));
}

void RegisterSaveTest::cancelKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.xls");
    writeFile(path, "old");
    // Cancelled after the last row: everything was written, yet the old file must stay.
    const RegisterSaveResult result =
        saveRegister(path, "", threeRows(), threeRowsInfo(), [](qint64 done, qint64 total) { return done < total; });
    QVERIFY(!result.written);
    QVERIFY2(result.message.contains("przerwano"), qPrintable(result.message));
    QCOMPARE(contents(path), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"r.xls"});
}

QTEST_GUILESS_MAIN(RegisterSaveTest)
#include "tst_registersave.moc"
