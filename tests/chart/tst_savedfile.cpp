#include "SavedFile.h"
#include "Windows1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSavedFile : public QObject {
    Q_OBJECT

private slots:
    void encodesWindows1250_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("Czujnik 0") << QByteArray("Czujnik 0");
        QTest::newRow("polish") << QStringLiteral("kąt źródło ŁÓDŹ")
                                << QByteArray("k\xB9t \x9Fr\xF3\x64\xB3o \xA3\xD3\x44\x8F");
        QTest::newRow("degree") << QStringLiteral("[ °]") << QByteArray("[ \xB0]");
        QTest::newRow("unmappable") << QStringLiteral("a€b中c") << QByteArray("a\x80\x62?c");
        QTest::newRow("outside BMP") << QStringLiteral("x😀y") << QByteArray("x?y");
    }
    void encodesWindows1250()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toWindows1250(text), bytes);
    }

    void replacesFileOnlyWhenComplete()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.bin");
        SaveResult result = saveFile(path, [](QIODevice &out, QString &) { return out.write("first") == 5; });
        QVERIFY2(result.ok, qPrintable(result.reason));

        // An abandoned write keeps the previous file and leaves no temporary beside it.
        result = saveFile(path, [](QIODevice &out, QString &reason) {
            out.write("half of the sec");
            reason = QStringLiteral("przerwano");
            return false;
        });
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, QStringLiteral("przerwano"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("first"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.bin"});
    }

    void reportsWhyAFileCannotBeCreated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("missing/folder/out.bin");
        bool called = false;
        const SaveResult result = saveFile(path, [&called](QIODevice &, QString &) { return called = true; });
        QVERIFY(!result.ok);
        QVERIFY(!result.reason.isEmpty());
        QVERIFY(!called);
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestSavedFile)
#include "tst_savedfile.moc"
