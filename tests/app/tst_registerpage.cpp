#include "BackgroundJob.h"
#include "JobProgress.h"
#include "MeasurementSession.h"
#include "RecordingDialogs.h"
#include "RegisterPage.h"
#include "RegisterTableModel.h"
#include "SettingsFile.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2024, 3, 5), QTime(14, 7, 9));

/// The page over a session whose clocks and readings the test sets, with the recorded dialogs.
struct Fixture {
    RecordingDialogs dialogs;
    double measTime = 1.5;
    MeasurementSession session{{[this] { return measTime; }, [this](double s) { measTime = s; }, [] { return kNow; }}};
    RegisterFileInfo info{QStringLiteral("KX520S"), 1.5, false, 100, kNow, {true, true, true}};
    RegisterPage page{dialogs, session, [this] { return info; }};

    /// The readout shows a sample taken while the given channels were active; it is not registered.
    explicit Fixture(const std::array<bool, 3> &active = {true, true, true},
                     const std::array<float, 3> &values = {12.3456f, 200.5f, 5.0f})
    {
        session.setActiveChannels(active);
        session.setAutoRegister(false);
        session.takeSample(sample(values));
        session.setAutoRegister(box("CheckBox16")->isChecked());
        session.setActiveChannels({true, true, true});
        // The table holds the rows its height shows.
        page.resize(940, 600);
        page.show();
        if (!QTest::qWaitForWindowExposed(&page))
            qFatal("the register page was not shown");
    }
    /// A sample as the device service hands it on.
    Sample sample(const std::array<float, 3> &values = {12.3456f, 200.5f, 5.0f}) const
    {
        Sample s;
        s.time = measTime;
        s.value = values;
        s.present = {true, true, true};
        s.pk1 = true;
        return s;
    }

    /// Waits for the save in the background to end.
    bool saved()
    {
        return QTest::qWaitFor([this] { return !page.saving(); }, 10000);
    }
    QTableView *grid() { return page.findChild<QTableView *>(QStringLiteral("StringGrid1")); }
    QCheckBox *box(const char *name) { return page.findChild<QCheckBox *>(QLatin1String(name)); }
    QPushButton *button(const char *name) { return page.findChild<QPushButton *>(QLatin1String(name)); }
    /// The cells of the register's row `r`, as the table shows it (within the rows it shows).
    QStringList row(qint64 r)
    {
        QStringList cells;
        for (int column = 0; column < 7; ++column)
            cells << page.table().index(int(r - page.table().firstRow()), column).data().toString();
        return cells;
    }
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class RegisterPageTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void initialState();
    void registration_data();
    void registration();
    void uncheckedTimeLeavesEarlierRows();
    void autoRegistration();
    void indexColumnWidensPastSixDigits();
    void dayOfRowsShowsOnlyItsWindow();
    void newestRowIsLastVisible();
    void clearAsksFirst_data();
    void clearAsksFirst();
    void cellsDrawnByColumn();
    void settingsRoundTrip();
    void settingsLeaveUnsetBoxes();
    void saveBeforeSaveAs();
    void saveAsThenSave();
    void saveTakesTheChosenFilter();
    void failedSaveIsReported();
    void progressShowsAndCancels();
};

void RegisterPageTest::initialState()
{
    Fixture f;
    QCOMPARE(f.page.table().rowCount(), 1);
    QVERIFY(!f.button("BitBtn5")->isEnabled());
    QVERIFY(f.button("BitBtn1")->isEnabled() && f.button("BitBtn4")->isEnabled());
    QCOMPARE(f.button("BitBtn4")->text(), QStringLiteral("     Zapisz       "));
    QCOMPARE(f.button("BitBtn6")->text(), QStringLiteral(" Wyczyść"));
    const QStringList checked = {"CheckBox16", "CheckBox4",  "CheckBox5", "CheckBox6",
                                 "CheckBox9",  "CheckBox11", "CheckBox12"};
    for (const char *name : {"CheckBox16", "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox10", "CheckBox20",
                             "CheckBox7", "CheckBox8", "CheckBox9", "CheckBox11", "CheckBox12"})
        QCOMPARE(f.box(name)->isChecked(), checked.contains(QLatin1String(name)));
    QVERIFY(f.page.table().coloured());
    QVERIFY(f.grid()->verticalHeader()->isHidden());
    QCOMPARE(f.grid()->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(f.grid()->rowHeight(0), 20);
    QCOMPARE(f.grid()->columnWidth(3), 82);

    // Titles only once the settings file has been read.
    QCOMPARE(f.page.table().headerData(0, Qt::Horizontal).toString(), QString());
    f.page.writeTitles();
    QCOMPARE(f.page.table().headerData(2, Qt::Horizontal).toString(), QStringLiteral("Czujnik 0"));
}

void RegisterPageTest::registration_data()
{
    QTest::addColumn<QStringList>("toggle");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("indexWidth");

    QTest::newRow("default boxes") << QStringList{}
                                   << QStringList{"0 ", "1,500", "12,3456", "200,5000", "5,0000", "", ""} << 60;
    QTest::newRow("date and time without number")
        << QStringList{"CheckBox7", "CheckBox8", "CheckBox11"}
        << QStringList{"(5.03.2024 14:07:09)", "1,500", "12,3456", "200,5000", "5,0000", "", ""} << 160;
    QTest::newRow("date only") << QStringList{"CheckBox7"}
                               << QStringList{"0 (5.03.2024)", "1,500", "12,3456", "200,5000", "5,0000", "", ""} << 110;
    QTest::newRow("time only") << QStringList{"CheckBox8"}
                               << QStringList{"0 (14:07:09)", "1,500", "12,3456", "200,5000", "5,0000", "", ""} << 110;
    QTest::newRow("unchecked channel, output lines")
        << QStringList{"CheckBox5", "CheckBox10", "CheckBox20"}
        << QStringList{"0 ", "1,500", "12,3456", "", "5,0000", "1", "0"} << 60;
    QTest::newRow("no time, no number") << QStringList{"CheckBox9", "CheckBox11"}
                                        << QStringList{"", "", "12,3456", "200,5000", "5,0000", "", ""} << 60;
}

void RegisterPageTest::registration()
{
    QFETCH(QStringList, toggle);
    QFETCH(QStringList, cells);
    QFETCH(int, indexWidth);

    Fixture f;
    for (const QString &name : toggle)
        f.box(name.toLatin1())->click();
    f.box("CheckBox16")->click();
    QVERIFY(f.button("BitBtn5")->isEnabled());
    f.button("BitBtn5")->click();
    QCOMPARE(f.page.table().rowCount(), 1);
    QCOMPARE(f.row(0), cells);
    QCOMPARE(f.grid()->columnWidth(0), indexWidth);
}

void RegisterPageTest::uncheckedTimeLeavesEarlierRows()
{
    // Fields 0 and 2 still show their dashes: no sample came while they were active.
    Fixture f({false, true, false}, {1.0f, 7.25f, 3.0f});
    f.page.BitBtn5Click();
    f.box("CheckBox9")->click();
    f.measTime = 2.0;
    f.page.BitBtn5Click();
    // The width follows the boxes at every registration, not when they change.
    f.box("CheckBox7")->click();
    QCOMPARE(f.grid()->columnWidth(0), 60);
    f.page.BitBtn5Click();
    QCOMPARE(f.grid()->columnWidth(0), 110);

    QCOMPARE(f.page.table().rowCount(), 3);
    QCOMPARE(f.row(0), (QStringList{"0 ", "1,500", "-------------", "7,2500", "-------------", "", ""}));
    QCOMPARE(f.row(1), (QStringList{"1 ", "", "-------------", "7,2500", "-------------", "", ""}));
    QCOMPARE(f.row(2).at(0), QStringLiteral("2 (5.03.2024)"));
}

void RegisterPageTest::autoRegistration()
{
    Fixture f;
    f.session.takeSample(f.sample());
    f.session.takeSample(f.sample());
    QCOMPARE(f.row(1).at(0), QStringLiteral("1 "));
    f.box("CheckBox16")->setChecked(false); // from code, like a click
    QVERIFY(f.button("BitBtn5")->isEnabled());
    f.session.takeSample(f.sample());
    QCOMPARE(f.page.table().rowCount(), 2);
}

void RegisterPageTest::indexColumnWidensPastSixDigits()
{
    Fixture f;
    RegisterStore rows;
    const RegisterRow row = registerRow({}, {});
    for (int n = 0; n < 1000000; ++n) // indexes up to 999 999
        rows.append(row);
    f.session.adopt({}, std::move(rows), 0);
    QCOMPARE(f.grid()->columnWidth(0), 60);
    f.box("CheckBox16")->setChecked(false);
    f.page.BitBtn5Click(); // index 1 000 000
    const int width = f.grid()->columnWidth(0);
    QVERIFY(width > 60);
    QTRY_COMPARE(f.row(1000000).at(0), QStringLiteral("1000000 ")); // followed within 50 ms
    const QString newest = f.row(1000000).at(0);
    QVERIFY2(f.grid()->fontMetrics().horizontalAdvance(newest) + 6 <= width, qPrintable(QString::number(width)));
}

// A day of rows: the view knows only the rows it shows, follows the newest, and the page's
// bar, keys and wheel reach any row.
void RegisterPageTest::dayOfRowsShowsOnlyItsWindow()
{
    Fixture f;
    constexpr qint64 Day = 17000000;
    RegisterStore rows;
    RegisterRow row = registerRow({}, {});
    row.flags |= RegisterRow::MeasTime;
    for (qint64 n = 0; n < Day; ++n) {
        row.measTime = double(n) * 0.005;
        rows.append(row);
    }
    f.session.adopt({}, std::move(rows), 0);
    QTableView *grid = f.grid();
    const int fitting = grid->viewport()->height() / 20;
    QTRY_COMPARE(f.page.table().firstRow(), Day - fitting);
    QCOMPARE(f.page.table().rowCount(), fitting);
    QCOMPARE(grid->verticalHeader()->count(), fitting); // no header section beyond the window
    QCOMPARE(f.row(Day - 1).mid(0, 2), (QStringList{"16999999 ", "84999,995"}));
    const QString newest = f.row(Day - 1).at(0);
    QVERIFY(grid->fontMetrics().horizontalAdvance(newest) + 6 <= grid->columnWidth(0));
    QVERIFY(grid->visualRect(f.page.table().index(fitting - 1, 0)).bottom() < grid->viewport()->height());

    auto *bar = f.page.findChild<QScrollBar *>(QStringLiteral("StringGrid1Rows"));
    QCOMPARE(bar->maximum(), int(Day - fitting));
    bar->setValue(8500000);
    QCOMPARE(f.row(8500000).at(0), QStringLiteral("8500000 "));
    grid->setFocus();
    grid->setCurrentIndex(f.page.table().index(0, 0));
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(f.page.table().firstRow(), 8499999);
    QTest::keyClick(grid, Qt::Key_PageDown);
    QCOMPARE(f.page.table().firstRow(), 8499999 + fitting);
    QWheelEvent wheel(QPointF(10, 10), grid->viewport()->mapToGlobal(QPointF(10, 10)), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid->viewport(), &wheel);
    QVERIFY(f.page.table().firstRow() > 8499999 + fitting);
}

void RegisterPageTest::newestRowIsLastVisible()
{
    Fixture f;
    f.page.resize(940, 600);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    QTableView *grid = f.grid();
    const int viewportHeight = grid->viewport()->height();
    const int fitting = viewportHeight / 20;
    QVERIFY2(fitting >= 20, "the grid shows too few rows");
    for (int n = 1; n <= fitting + 12; ++n) {
        // Clicks as fast as the code can make them: each newest row is followed within 50 ms.
        f.page.BitBtn5Click();
        const qint64 newest = n - 1;
        auto newestShown = [&] {
            const int last = int(newest - f.page.table().firstRow());
            const QRect cell = grid->visualRect(f.page.table().index(last, 1));
            return f.row(newest).at(0) == QStringLiteral("%1 ").arg(newest) && cell.top() >= 0 &&
                   cell.bottom() < viewportHeight;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(newestShown(), qPrintable(QString::number(n)), 500);
        // Scrolled so that the newest row is the last one, nothing below it.
        QCOMPARE(f.page.table().firstRow(), std::max<qint64>(0, n - fitting));
        QCOMPARE(f.page.table().rowCount(), std::min(n, fitting));
        QCOMPARE(grid->verticalHeader()->offset(), 0);
    }
}

void RegisterPageTest::clearAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

void RegisterPageTest::clearAsksFirst()
{
    QFETCH(bool, yes);
    Fixture f;
    f.page.writeTitles();
    for (int n = 0; n < 3; ++n)
        f.page.BitBtn5Click();
    f.dialogs.answers = {yes};
    f.button("BitBtn6")->click();
    QCOMPARE(f.dialogs.shown,
             QStringList{QStringLiteral("?Czyszczenie tabeli rejestracji pomiarów...\nCzy jesteś pewien?")});
    QCOMPARE(f.page.table().rowCount(), yes ? 1 : 3);
    QCOMPARE(f.row(0).at(1), yes ? QString() : QStringLiteral("1,500"));
    QCOMPARE(f.page.table().headerData(0, Qt::Horizontal).toString(), QStringLiteral("Index"));
    f.page.BitBtn5Click();
    QCOMPARE(f.page.table().index(f.page.table().rowCount() - 1, 0).data().toString(),
             yes ? QStringLiteral("0 ") : QStringLiteral("3 "));
}

void RegisterPageTest::cellsDrawnByColumn()
{
    Fixture f;
    f.page.resize(940, 600);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    f.page.BitBtn5Click();
    f.page.BitBtn5Click();
    QTableView *grid = f.grid();
    const QPalette palette = grid->palette();
    auto colourAt = [&](int row, int column) {
        const QRect cell = grid->visualRect(f.page.table().index(row, column));
        // A point inside the cell, clear of its text that starts 5 pixels in.
        return grid->viewport()->grab().toImage().pixelColor(cell.right() - 3, cell.top() + 2);
    };
    QCOMPARE(colourAt(0, 0), palette.color(QPalette::Button));
    QCOMPARE(colourAt(0, 1), palette.color(QPalette::Base));
    QCOMPARE(colourAt(0, 2), QColor(255, 0, 0));
    QCOMPARE(colourAt(0, 4), QColor(0, 255, 255));
    QCOMPARE(colourAt(0, 6), QColor(255, 128, 0));
    grid->setCurrentIndex(f.page.table().index(1, 3));
    QCOMPARE(colourAt(1, 3), QColor(0, 0, 128));
    QCOMPARE(colourAt(0, 3), QColor(0, 255, 0));

    f.box("CheckBox12")->click();
    QCOMPARE(colourAt(0, 2), palette.color(QPalette::Base));
    QCOMPARE(colourAt(1, 3), QColor(0, 0, 128));

    // The text starts 5 pixels in: nothing dark left of or above that.
    const QRect cell = grid->visualRect(f.page.table().index(0, 2));
    const QImage image = grid->viewport()->grab().toImage();
    int firstInk = cell.width();
    for (int x = cell.left(); x < cell.right(); ++x)
        for (int y = cell.top(); y < cell.bottom(); ++y)
            if (image.pixelColor(x, y).lightness() < 100)
                firstInk = std::min(firstInk, x - cell.left());
    QVERIFY2(firstInk >= 5 && firstInk <= 7, qPrintable(QString::number(firstInk)));
}

void RegisterPageTest::settingsRoundTrip()
{
    Fixture f;
    Settings settings;
    settings.registration = {false, {false, true, false}, true, true, true, true, false, false, false};
    f.page.applySettings(settings);
    QVERIFY(f.button("BitBtn5")->isEnabled());
    QVERIFY(!f.page.table().coloured());
    QVERIFY(f.box("CheckBox20")->isChecked() && f.box("CheckBox8")->isChecked() && !f.box("CheckBox11")->isChecked());

    Settings stored;
    f.page.storeSettings(stored);
    QCOMPARE(stored.registration, settings.registration);
}

void RegisterPageTest::settingsLeaveUnsetBoxes()
{
    Fixture f;
    Settings settings; // reading stopped before the register's lines
    settings.registration.autoRegister = false;
    f.page.applySettings(settings);
    Settings stored;
    f.page.storeSettings(stored);
    Settings::Registration expected{false, {true, true, true}, false, false, false, false, true, true, true};
    QCOMPARE(stored.registration, expected);
}

void RegisterPageTest::saveBeforeSaveAs()
{
    Fixture f;
    f.page.BitBtn5Click();
    f.button("BitBtn4")->click();
    QVERIFY(f.saved());
    QVERIFY(f.dialogs.fileRequests.isEmpty());
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.shown.at(0).contains(QStringLiteral("Zapisz Jako")), qPrintable(f.dialogs.shown.at(0)));
}

void RegisterPageTest::saveAsThenSave()
{
    Fixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pomiar.txt"));
    f.page.BitBtn5Click();
    f.dialogs.files = {ChosenFile{path, 0}};
    f.button("BitBtn1")->click();
    QVERIFY(f.saved());

    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    QCOMPARE(f.dialogs.fileRequests.at(0).filter, QStringLiteral("Text|*.txt|Excel|*.xls"));
    QVERIFY(f.dialogs.fileRequests.at(0).overwritePrompt);
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(contents(path).contains("Ilosc pr\xf3"
                                    "bek= \t\t1\r\n"));

    // "Zapisz" rewrites the same file with the table as it is now, without asking.
    f.page.BitBtn5Click();
    f.button("BitBtn4")->click();
    QVERIFY(f.saved());
    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    const QByteArray saved = contents(path);
    QVERIFY(saved.contains("Ilosc pr\xf3"
                           "bek= \t\t2\r\n"));
    QVERIFY(saved.contains("|       1  ||       1,500 |"));

    // The next "Zapisz Jako..." offers the name chosen last.
    f.button("BitBtn1")->click();
    QCOMPARE(f.dialogs.fileRequests.at(1).fileName, path);
}

void RegisterPageTest::saveTakesTheChosenFilter()
{
    Fixture f;
    QTemporaryDir dir;
    f.page.BitBtn5Click();
    f.dialogs.files = {ChosenFile{dir.filePath(QStringLiteral("pomiar")), 1}};
    f.button("BitBtn1")->click();
    QVERIFY(f.saved());
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(contents(dir.filePath(QStringLiteral("pomiar.xls")))
                .startsWith("typ urz\xb9"
                            "dzenia=\tKX520S\r\n"));
}

void RegisterPageTest::failedSaveIsReported()
{
    Fixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("brak/pomiar.txt"));
    f.dialogs.files = {ChosenFile{path, 0}};
    f.button("BitBtn1")->click();
    QVERIFY(f.saved());
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.shown.at(0).contains(QStringLiteral("nie został zapisany")), qPrintable(f.dialogs.shown.at(0)));
    QVERIFY(!QFile::exists(path));
}

void RegisterPageTest::progressShowsAndCancels()
{
    QWidget parent;
    BackgroundJob job;
    JobProgress progress(job, QStringLiteral("Zapisywanie..."), &parent, 100);
    std::atomic<qint64> reached{0};
    QList<BackgroundJob::Result> results;
    connect(&job, &BackgroundJob::finished, this, [&](const BackgroundJob::Result &r) { results << r; });
    // Work that goes on until it is told to stop.
    QVERIFY(job.start([&](const BackgroundJob::Progress &report) {
        for (qint64 done = 0;; ++done) {
            reached = done;
            if (!report(std::min<qint64>(done, 500), 1000))
                return BackgroundJob::Result{false, false, QStringLiteral("przerwano")};
            QThread::msleep(1);
        }
    }));
    QVERIFY(!progress.window().isVisible()); // not before the delay
    QTRY_VERIFY(progress.window().isVisible());
    QVERIFY(progress.window().isModal());
    QTRY_COMPARE(progress.value(), 500);
    QVERIFY(job.running());
    progress.cancelButton()->click();
    QTRY_COMPARE(results.size(), 1);
    QVERIFY(results[0].cancelled);
    QVERIFY(!progress.window().isVisible());
    QVERIFY(!job.running());

    // Nothing shows for work that ends at once.
    QVERIFY(job.start([](const BackgroundJob::Progress &report) {
        report(10, 10);
        return BackgroundJob::Result{true, false, {}};
    }));
    QTRY_COMPARE(results.size(), 2);
    QVERIFY(results[1].ok);
    QTest::qWait(150);
    QVERIFY(!progress.window().isVisible());
}

QTEST_MAIN(RegisterPageTest)
#include "tst_registerpage.moc"
