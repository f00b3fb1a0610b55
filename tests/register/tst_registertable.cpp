#include "RegisterTableModel.h"
#include "Registration.h"

#include <QColor>
#include <QLocale>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2024, 3, 5), QTime(14, 7, 9));

/// Rows registered into a store, shown by a model over it.
struct Table {
    RegisterStore store;
    RegisterTableModel model{store};

    void append(const RegisterRow &row)
    {
        store.append(row);
        model.catchUp();
    }
    void clear()
    {
        store.clear();
        model.reset();
    }
};

QStringList rowTexts(const RegisterTableModel &model, int row)
{
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.index(row, column).data().toString();
    return texts;
}

RegisterSample sampleOf(std::array<std::optional<float>, 3> shown, std::array<bool, 3> active = {true, true, true})
{
    return RegisterSample{1.5, shown, active, true, false, kNow};
}

} // namespace

Q_DECLARE_METATYPE(RegisterSample)
Q_DECLARE_METATYPE(RegisterChoice)

class RegisterTableTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void registeredRow_data();
    void registeredRow();
    void appendsAtTheEndOnly();
    void rowsGainedMeanwhileComeInOneInsert();
    void storeCopyIsASnapshot();
    void clearNumbersFromZero();
    void titlesOnlyWhenShown();
    void colourByColumn();
};

void RegisterTableTest::registeredRow_data()
{
    QTest::addColumn<RegisterSample>("sample");
    QTest::addColumn<RegisterChoice>("choice");
    QTest::addColumn<QStringList>("cells");

    const RegisterSample values = sampleOf({12.3456f, 200.5f, 359.99997f});
    QTest::newRow("default boxes") << values << RegisterChoice()
                                   << QStringList{"0 ", "1,500", "12,3456", "200,5000", "360,0000", "", "", "", ""};
    QTest::newRow("dashes before any value")
        << sampleOf({std::nullopt, 5.0f, std::nullopt}) << RegisterChoice()
        << QStringList{"0 ", "1,500", "-------------", "5,0000", "-------------", "", "", "", ""};
    QTest::newRow("inactive channel registers dashes, not its frozen value")
        << sampleOf({12.3456f, 200.5f, 359.99997f}, {true, false, true}) << RegisterChoice()
        << QStringList{"0 ", "1,500", "12,3456", "-------------", "360,0000", "", "", "", ""};
    QTest::newRow("exact tie rounds as the C format does")
        << sampleOf({0.03125f, -0.00004f, 1e6f}) << RegisterChoice()
        << QStringList{"0 ", "1,500", "0,0312", "-0,0000", "1000000,0000", "", "", "", ""};

    RegisterChoice outputs;
    outputs.pk1 = outputs.pk2 = true;
    outputs.channel = {false, true, false};
    outputs.measTime = false;
    QTest::newRow("output lines, one channel, no time")
        << values << outputs << QStringList{"0 ", "", "", "200,5000", "", "1", "0", "", ""};

    RegisterChoice stamped;
    stamped.sampleNumber = false;
    stamped.date = stamped.time = true;
    QTest::newRow("date and time without number")
        << values << stamped
        << QStringList{"(5.03.2024 14:07:09)", "1,500", "12,3456", "200,5000", "360,0000", "", "", "", ""};
    stamped.sampleNumber = true;
    stamped.date = false;
    QTest::newRow("number and time") << values << stamped
                                     << QStringList{
                                            "0 (14:07:09)", "1,500", "12,3456", "200,5000", "360,0000", "", "", "", ""};
}

void RegisterTableTest::registeredRow()
{
    QFETCH(RegisterSample, sample);
    QFETCH(RegisterChoice, choice);
    QFETCH(QStringList, cells);

    Table table;
    RegisterTableModel &model = table.model;
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(rowTexts(model, 0), QStringList(9, QString()));
    table.append(registerRow(sample, choice));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(rowTexts(model, 0), cells);
}

void RegisterTableTest::appendsAtTheEndOnly()
{
    Table table;
    RegisterTableModel &model = table.model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const RegisterSample sample = sampleOf({1.0f, 2.0f, 3.0f});

    table.append(registerRow(sample, {}));
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 0);

    RegisterChoice noTime;
    noTime.measTime = false;
    for (int n = 1; n < 30; ++n) {
        table.append(registerRow(sample, n == 5 ? noTime : RegisterChoice()));
        QCOMPARE(inserted.count(), n);
        QCOMPARE(inserted.last().at(1).toInt(), n);
        QCOMPARE(inserted.last().at(2).toInt(), n);
    }
    QCOMPARE(model.rowCount(), 30);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(model.index(29, 0).data().toString(), "29 ");
    // Earlier rows keep what they registered.
    QCOMPARE(model.index(4, 1).data().toString(), "1,500");
    QCOMPARE(model.index(5, 1).data().toString(), QString());
    QCOMPARE(model.index(6, 1).data().toString(), "1,500");
}

void RegisterTableTest::rowsGainedMeanwhileComeInOneInsert()
{
    Table table;
    QSignalSpy inserted(&table.model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&table.model, &QAbstractItemModel::dataChanged);
    const RegisterRow row = registerRow(sampleOf({1.0f, 2.0f, 3.0f}), {});
    for (int n = 0; n < 5; ++n)
        table.store.append(row);
    QCOMPARE(table.model.rowCount(), 1); // the view learns of them only when told
    QCOMPARE(table.model.index(0, 0).data().toString(), QString());
    table.model.catchUp();
    QCOMPARE(changed.count(), 1); // the empty row filled
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.last().at(1).toInt(), 1);
    QCOMPARE(inserted.last().at(2).toInt(), 4);
    QCOMPARE(table.model.rowCount(), 5);
    QCOMPARE(table.model.index(4, 0).data().toString(), "4 ");
    table.model.catchUp(); // nothing new
    QCOMPARE(inserted.count(), 1);
}

void RegisterTableTest::storeCopyIsASnapshot()
{
    RegisterStore store;
    const RegisterRow row = registerRow(sampleOf({1.0f, 2.0f, 3.0f}), {});
    RegisterRow other = row;
    other.measTime = 9.0;
    for (int n = 0; n < 70000; ++n) // past the first block
        store.append(row);
    const RegisterStore snapshot = store;
    store.append(other); // into the block the snapshot shares
    QCOMPARE(store.size(), 70001);
    QCOMPARE(store.at(70000).measTime, 9.0);
    QCOMPARE(snapshot.size(), 70000);
    store.clear();
    QCOMPARE(snapshot.at(69999).measTime, row.measTime);
    QCOMPARE(snapshot.at(0).measTime, row.measTime);
}

void RegisterTableTest::clearNumbersFromZero()
{
    Table table;
    RegisterTableModel &model = table.model;
    const RegisterSample sample = sampleOf({1.0f, 2.0f, 3.0f});
    for (int n = 0; n < 3; ++n)
        table.append(registerRow(sample, {}));
    table.clear();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.store().size(), 0);
    QCOMPARE(model.index(0, 0).data().toString(), QString());
    table.append(registerRow(sample, {}));
    QCOMPARE(model.index(0, 0).data().toString(), "0 ");
}

void RegisterTableTest::titlesOnlyWhenShown()
{
    Table table;
    RegisterTableModel &model = table.model;
    QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    model.showTitles();
    QCOMPARE(headers.count(), 1);
    QStringList titles;
    for (int column = 0; column < model.columnCount(); ++column)
        titles << model.headerData(column, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"Index", "Czas [s]", "Czujnik 0", "Czujnik 1", "Czujnik 2", "PK1", "PK2", "", ""}));
}

void RegisterTableTest::colourByColumn()
{
    Table table;
    RegisterTableModel &model = table.model;
    for (int n = 0; n < 3; ++n)
        table.append(registerRow(sampleOf({1.0f, 2.0f, 3.0f}), {}));
    QVERIFY(!model.index(2, 2).data(Qt::BackgroundRole).isValid());

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setColoured(true);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(2, RegisterColumnCount - 1));

    const QList<QVariant> expected = {QVariant(),          QVariant(),          QColor(255, 0, 0),
                                      QColor(0, 255, 0),   QColor(0, 255, 255), QColor(255, 255, 255),
                                      QColor(255, 128, 0), QVariant(),          QVariant()};
    for (int column = 0; column < model.columnCount(); ++column)
        QCOMPARE(model.index(2, column).data(Qt::BackgroundRole), expected[column]);
    model.setColoured(false);
    QVERIFY(!model.index(2, 2).data(Qt::BackgroundRole).isValid());
}

QTEST_GUILESS_MAIN(RegisterTableTest)
#include "tst_registertable.moc"
