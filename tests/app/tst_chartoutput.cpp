// The output-line window and the chart's exports.
#include "ChartPageFixture.h"

#include <QtTest>

class ChartOutputTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void arrowsChangeLevelAtOnceFrameCloseKeepsStored();
    void okStoresFields();
    void pressIntoFieldTextStoresAllEight();
    void settingsLoadFieldsFromStart();
    void largeStoredValuesGiveExactLevel();
    void fieldThatIsNoNumberReadsZero();
    void bitmapWhateverTheExtension();
    void bitmapIntoMissingFolderIsReported();
    void spreadsheetOfAllPoints();
    void jpegCancelledStillOpensExportWindow();
    void exportWindowFormats_data();
    void exportWindowFormats();
};

void ChartOutputTest::arrowsChangeLevelAtOnceFrameCloseKeepsStored()
{
    Fixture f;
    f.lines.pkLineH = {50, 50, 50, 50};
    f.lines.pkLineF = {0, 75, 150, 225};
    f.lines.show();
    f.page.SpeedButton15Click();
    f.sample(true, true);

    f.lineField(1)->stepUp();
    f.lineField(4)->stepDown();
    f.sample(true, false);
    f.lines.close();
    QVERIFY(!f.lines.isVisible());
    f.sample(true, false);
    QCOMPARE(f.lines.pkLineH[0], 50);
    QCOMPARE(f.lines.pkLineF[1], 75);

    f.lines.show();
    QCOMPARE(f.lineField(1)->value(), 50);
    QCOMPARE(f.lineField(4)->value(), 75);
    f.sample(true, false);

    const PointSeries &pk1 = f.session.chart().series(3);
    const PointSeries &pk2 = f.session.chart().series(4);
    QCOMPARE(QList<double>({pk1.y(0), pk1.y(1), pk1.y(2), pk1.y(3)}), QList<double>({50, 51, 51, 50}));
    QCOMPARE(QList<double>({pk2.y(0), pk2.y(1), pk2.y(2), pk2.y(3)}), QList<double>({125, 74, 74, 75}));
}

void ChartOutputTest::okStoresFields()
{
    Fixture f;
    f.lines.show();
    for (int n = 1; n <= 8; ++n)
        f.lineField(n)->setValue(n * 10 - 3);
    f.lines.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    QVERIFY(!f.lines.isVisible());
    QCOMPARE(f.lines.pkLineH, (std::array<int32_t, 4>{7, 27, 47, 67}));
    QCOMPARE(f.lines.pkLineF, (std::array<int32_t, 4>{17, 37, 57, 77}));

    Settings settings;
    f.lines.storeSettings(settings);
    QCOMPARE(settings.pkLineH[2], std::optional<int32_t>(47));
    QCOMPARE(settings.pkLineF[3], std::optional<int32_t>(77));
}

void ChartOutputTest::pressIntoFieldTextStoresAllEight()
{
    Fixture f;
    f.lines.show();
    for (int n = 1; n <= 8; ++n)
        f.lineField(n)->setValue(-n);
    QCOMPARE(f.lines.pkLineH, (std::array<int32_t, 4>{}));

    QLineEdit *text = f.lineField(6)->findChild<QLineEdit *>();
    QTest::mouseClick(text, Qt::LeftButton, {}, text->rect().center());
    QCOMPARE(f.lines.pkLineH, (std::array<int32_t, 4>{-1, -3, -5, -7}));
    QCOMPARE(f.lines.pkLineF, (std::array<int32_t, 4>{-2, -4, -6, -8}));
    QVERIFY(f.lines.isVisible());
}

void ChartOutputTest::settingsLoadFieldsFromStart()
{
    Fixture f;
    Settings settings;
    for (std::size_t i = 0; i < 4; ++i) {
        settings.pkLineH[i] = int32_t(100 + i);
        settings.pkLineF[i] = int32_t(200 + i);
    }
    f.lines.applySettings(settings);
    QCOMPARE(f.lineField(1)->value(), 100);
    QCOMPARE(f.lineField(4)->value(), 201);
    QCOMPARE(f.lineField(8)->value(), 203);

    // The plot uses them before the window was ever shown.
    f.page.SpeedButton15Click();
    f.sample(true, false);
    QCOMPARE(f.session.chart().series(3).y(0), 300.0);
    QCOMPARE(f.session.chart().series(4).y(0), 201.0);
}

void ChartOutputTest::largeStoredValuesGiveExactLevel()
{
    constexpr int32_t big = std::numeric_limits<int32_t>::max();
    Fixture f;
    Settings settings;
    settings.pkLineH[0] = big;
    settings.pkLineF[0] = big;
    settings.pkLineH[1] = std::numeric_limits<int32_t>::min();
    settings.pkLineF[1] = std::numeric_limits<int32_t>::min();
    f.lines.applySettings(settings);
    f.page.SpeedButton15Click();
    f.sample(true, true);
    QCOMPARE(f.session.chart().series(3).y(0), 4294967294.0);
    QCOMPARE(f.session.chart().series(4).y(0), -4294967296.0);
}

void ChartOutputTest::fieldThatIsNoNumberReadsZero()
{
    Fixture f;
    f.lines.show();
    QSpinBox *height = f.lineField(1);
    QLineEdit *text = height->findChild<QLineEdit *>();
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Minus);
    QCOMPARE(height->text(), QStringLiteral("-"));
    QCOMPARE(f.lines.height(0), 0);
    QCOMPARE(height->text(), QStringLiteral("0"));
}

void ChartOutputTest::bitmapWhateverTheExtension()
{
    QTemporaryDir dir;
    Fixture f;
    f.page.resize(800, 500);
    const QString path = dir.filePath(QStringLiteral("wykres.jpg"));
    f.dialogs.files = {ChosenFile{path}};
    f.child<QPushButton>("BitBtn10")->click();
    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    QCOMPARE(f.dialogs.fileRequests[0].filter, QStringLiteral("plik bmp | *.bmp"));
    QVERIFY(f.dialogs.fileRequests[0].overwritePrompt);
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(contents(path).left(2), QByteArray("BM"));

    // The dialog offers the name chosen last time.
    f.child<QPushButton>("BitBtn10")->click();
    QCOMPARE(f.dialogs.fileRequests[1].fileName, path);
}

void ChartOutputTest::bitmapIntoMissingFolderIsReported()
{
    QTemporaryDir dir;
    Fixture f;
    const QString path = dir.filePath(QStringLiteral("brak/wykres.bmp"));
    f.dialogs.files = {ChosenFile{path}};
    f.child<QPushButton>("BitBtn10")->click();
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.shown[0].contains(path), qPrintable(f.dialogs.shown[0]));
    QVERIFY(!QFile::exists(path));
}

void ChartOutputTest::spreadsheetOfAllPoints()
{
    QTemporaryDir dir;
    Fixture f;
    f.child<QCheckBox>("CheckBox17")->setChecked(true);
    f.page.SpeedButton15Click();
    f.measTime = 3; // times that are not the point positions bring the X columns
    f.samples(25);
    f.page.SpeedButton13Click();
    const QString path = dir.filePath(QStringLiteral("wykres.xls"));
    f.dialogs.files = {ChosenFile{path}};
    f.child<QPushButton>("BitBtn11")->click();
    QVERIFY(f.exported());
    QCOMPARE(f.dialogs.fileRequests[0].filter, QStringLiteral("Excel | *.xls"));
    QVERIFY(f.dialogs.shown.isEmpty());
    const QByteArray sheet = contents(path);
    QCOMPARE(sheet.left(4), QByteArray::fromHex("09080800"));
    // Dimensions: all 25 points (and the title row) whatever the page, 11 columns.
    QCOMPARE(sheet.mid(12, 14), QByteArray::fromHex("00020a00"
                                                    "0000"
                                                    "1a00"
                                                    "0000"
                                                    "0b00"
                                                    "0000"));
    QCOMPARE(sheet.right(4), QByteArray::fromHex("0a000000"));
}

void ChartOutputTest::jpegCancelledStillOpensExportWindow()
{
    Fixture f;
    f.child<QPushButton>("BitBtn12")->click();
    // Opened without a loop of its own: the click has returned with the window up.
    QStringList opened;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(top); dialog && dialog->isVisible()) {
            opened << dialog->windowTitle();
            QVERIFY(dialog->isModal());
            dialog->reject();
        }
    }
    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    QCOMPARE(f.dialogs.fileRequests[0].defaultSuffix, QStringLiteral("jpg"));
    QCOMPARE(opened, QStringList{QStringLiteral("Eksport wykresu")});
}

void ChartOutputTest::exportWindowFormats_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("magic");

    QTest::newRow("PNG") << "PNG" << QByteArray("\x89PNG");
    QTest::newRow("JPEG") << "JPEG" << QByteArray("\xff\xd8");
    QTest::newRow("BMP") << "BMP" << QByteArray("BM");
    QTest::newRow("PDF") << "PDF" << QByteArray("%PDF");
    QTest::newRow("CSV") << "CSV (wszystkie punkty)" << QByteArray();
}

void ChartOutputTest::exportWindowFormats()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, magic);

    QTemporaryDir dir;
    Fixture f;
    f.page.resize(800, 500);
    f.page.SpeedButton15Click();
    f.samples(3);
    ChartExport *exporter = f.page.findChild<ChartExport *>();
    QVERIFY(exporter);
    ChartExportWindow window(*exporter, f.session.chart(), f.dialogs, &f.page);
    const QString path = dir.filePath(QStringLiteral("wykres.out"));
    f.dialogs.files = {ChosenFile{path}};
    window.exportAs(int(ChartExportWindow::formats().indexOf(format)));
    QVERIFY(f.exported());
    QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.shown.join('\n')));
    const QByteArray written = contents(path);
    QVERIFY(!written.isEmpty());
    if (magic.isEmpty())
        QCOMPARE(written.count('\n'), 4); // a title line and the three points
    else
        QCOMPARE(written.left(magic.size()), magic);
}

QTEST_MAIN(ChartOutputTest)
#include "tst_chartoutput.moc"
