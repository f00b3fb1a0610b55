#include "AsystenLaczenia.h"
#include "DeviceLink.h"
#include "RecordingDialogs.h"

#include <QComboBox>
#include <QtTest>

namespace {

/// The wizard over a machine whose ports the test decides.
struct Wizard {
    QList<PresentPort> present = {
        {"ttyS2", "Wbudowany port", "Producent", ""},
        {"ttyUSB0", "Adapter USB", "", "A1"},
        {"ttyACM123456789", "Za długa nazwa", "", ""},
    };
    DeviceLink link;
    RecordingDialogs dialogs;
    TAsystentForm form{link, dialogs, [this] { return present; }};
    QComboBox *list = form.findChild<QComboBox *>("ComboBox1");

    /// The line whose stored name is `name`, -1 for none.
    int line(const QString &name) const { return list->findData(name); }
};

} // namespace

class WizardPortsTest : public QObject {
    Q_OBJECT

private slots:
    void presentPortsDescribed_data();
    void presentPortsDescribed();
    void choosingPutsTheBareName();
    void overlongNameLeftOut();
    void newPortAppearsAtTheNextShowing();
};

void WizardPortsTest::presentPortsDescribed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("details");
    QTest::newRow("serial port under its COM name") << "COM3" << QStringList{"Wbudowany port", "Producent"};
    QTest::newRow("adapter under its own name") << "ttyUSB0" << QStringList{"Adapter USB", "A1"};
    QTest::newRow("absent standard port bare") << "COM1" << QStringList{};
}

void WizardPortsTest::presentPortsDescribed()
{
    QFETCH(QString, name);
    QFETCH(QStringList, details);
    Wizard w;
    w.form.show();
    const int line = w.line(name);
    QVERIFY(line >= 0);
    const QString text = w.list->itemText(line);
    QVERIFY2(text.startsWith(name), qPrintable(text));
    for (const QString &detail : details)
        QVERIFY2(text.contains(detail), qPrintable(text));
    if (details.isEmpty())
        QCOMPARE(text, name);
}

void WizardPortsTest::choosingPutsTheBareName()
{
    Wizard w;
    w.form.show();
    for (const QString &name : {"ttyUSB0", "COM3"}) {
        const int line = w.line(name);
        QVERIFY(line >= 0);
        w.list->setCurrentIndex(line);
        emit w.list->activated(line); // as a choice from the drop-down list
        QCOMPARE(w.list->currentText(), name);
        QVERIFY(w.list->itemText(line) != name); // the line itself stays described
    }
    w.form.hide();
    w.form.show();
    QCOMPARE(w.list->currentText(), QString("COM3")); // the choice outlives a new listing
}

void WizardPortsTest::overlongNameLeftOut()
{
    Wizard w;
    w.form.show();
    QVERIFY(w.line("ttyUSB0") >= 0);
    for (int line = 0; line < w.list->count(); ++line)
        QVERIFY2(!w.list->itemText(line).contains("ttyACM"), qPrintable(w.list->itemText(line)));
}

void WizardPortsTest::newPortAppearsAtTheNextShowing()
{
    Wizard w;
    w.form.show();
    QCOMPARE(w.line("ttyACM0"), -1);
    w.present.append({"ttyACM0", "Modem", "", ""});
    QCOMPARE(w.line("ttyACM0"), -1); // read only when shown
    w.form.hide();
    w.form.show();
    const int line = w.line("ttyACM0");
    QVERIFY(line >= 0);
    QVERIFY(w.list->itemText(line).contains("Modem"));
}

QTEST_MAIN(WizardPortsTest)
#include "tst_wizardports.moc"
