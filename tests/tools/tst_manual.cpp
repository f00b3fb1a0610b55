#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {

QString normalised(QString text)
{
    return text.replace(QRegularExpression("\\s+"), " ");
}

} // namespace

/// The manual printed by the build, read back as a reader's PDF tool sees it.
class ManualTest : public QObject {
    Q_OBJECT

private slots:
    void holdsTheHelpChapters();
};

void ManualTest::holdsTheHelpChapters()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-enc", "UTF-8", KX_MANUAL_PDF, "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    QCOMPARE(pdftotext.exitCode(), 0);
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const QString flat = normalised(text);

    QVERIFY(flat.contains("KX520S Instrukcja obsługi rev 1.0"));
    QVERIFY(flat.contains("O instrukcji"));
    QFile help(KX_SOURCE_DIR "/data/Help/KX520S-PC.html");
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(help.readAll());
    QStringList chapters;
    auto headings = QRegularExpression("<h[23][^>]*>([^<]+)</h[23]>").globalMatch(html);
    while (headings.hasNext())
        chapters << headings.next().captured(1);
    QVERIFY(chapters.size() >= 6);
    for (const QString &chapter : chapters)
        QVERIFY2(flat.contains(chapter), qPrintable(chapter));
    QVERIFY2(text.count('\f') >= 4, "a title page and the chapters over several pages");

    const bool screenshots = !QDir(KX_SOURCE_DIR "/docs").entryList({"*.png"}, QDir::Files).isEmpty();
    QCOMPARE(flat.contains("Widoki okien programu"), screenshots);
}

QTEST_GUILESS_MAIN(ManualTest)
#include "tst_manual.moc"
