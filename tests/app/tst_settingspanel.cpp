// The device settings panel: its guard, boxes, lists and the factory settings read back.
#include "PanelsFixture.h"

#include <QtTest>

class SettingsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void guardedLedBox();
    void refreshKeepsTypedText();
    void thresholds_data();
    void thresholds();
    void guardedArrows();
    void activeSensorList_data();
    void activeSensorList();
    void activeSensorListColours_data();
    void activeSensorListColours();
    void defaultsAreReadBack();
};

void SettingsPanelTest::guardedLedBox()
{
    Screen screen;
    screen.findInstrument();
    const DeviceState &device = screen.device();
    auto *led = screen.child<QLineEdit>("Edit4");
    screen.program->link().want([](DeviceParams &set) { set.LED = 3; });
    screen.report(CMD_LED, 3); // the panel is to show it
    screen.program->main().refreshPanel();
    QVERIFY(device.panelRefreshPending);
    QTest::keyClicks(led, "7");
    QCOMPARE(led->text(), QString("37")); // the character still goes in
    QVERIFY(shows(led, EditState::Confirmed));
    QTest::keyClick(led, Qt::Key_Return);
    QCOMPARE(device.Set.LED, 3);
    QVERIFY(shows(led, EditState::Confirmed));

    screen.refreshed();
    QTest::keyClick(led, Qt::Key_Backspace);
    QVERIFY(shows(led, EditState::Typing));
    QTest::keyClick(led, Qt::Key_Return);
    QCOMPARE(device.Set.LED, 3);
    typeAndEnter(led, "15"); // beyond the arrows, taken as typed
    QCOMPARE(device.Set.LED, 15);
    QVERIFY(shows(led, EditState::Entered));
    typeAndEnter(led, "abc");
    QCOMPARE(device.Set.LED, 15);
    QVERIFY(shows(led, EditState::Entered));
}

void SettingsPanelTest::refreshKeepsTypedText()
{
    Screen screen;
    screen.findInstrument();
    const DeviceState &device = screen.device();
    auto *led = screen.child<QLineEdit>("Edit4");
    auto *onTime = screen.child<QLineEdit>("Edit5");
    screen.refreshed();
    led->clear();
    QTest::keyClicks(led, "8");
    screen.report(CMD_LED, 2);
    screen.report(CMD_ONTIME, 250);
    screen.report(CMD_PK1, 12.3456f);
    screen.refreshed();
    QCOMPARE(led->text(), QString("8"));
    QVERIFY(shows(led, EditState::Typing));
    QCOMPARE(onTime->text(), QString("250"));
    QVERIFY(shows(onTime, EditState::Confirmed));
    QCOMPARE(screen.child<QLineEdit>("Edit6")->text(), QString("12,346"));
    QTest::keyClick(led, Qt::Key_Return);
    QCOMPARE(device.Set.LED, 8);
}

void SettingsPanelTest::thresholds_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<float>("pk1");
    QTest::addColumn<float>("pk2");
    QTest::newRow("P1 rounded") << QString("Edit6") << QString("12,3456") << 12.346f << 4.0f;
    QTest::newRow("P2 as read") << QString("Edit7") << QString("12,3456") << 3.0f << 12.3456f;
    QTest::newRow("P1 not a number") << QString("Edit6") << QString("12a") << 3.0f << 4.0f;
    QTest::newRow("P2 negative") << QString("Edit7") << QString("-0,0001") << 3.0f << -0.0001f;
}

void SettingsPanelTest::thresholds()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(float, pk1);
    QFETCH(float, pk2);
    Screen screen;
    screen.findInstrument();
    const DeviceState &device = screen.device();
    screen.program->link().want([](DeviceParams &set) {
        set.PK1 = 3.0f;
        set.PK2 = 4.0f;
    });
    screen.report(CMD_LED, 3);
    QVERIFY(device.panelRefreshPending); // the thresholds are not guarded
    auto *box = screen.child<QLineEdit>(edit);
    typeAndEnter(box, typed);
    QCOMPARE(device.Set.PK1, pk1);
    QCOMPARE(device.Set.PK2, pk2);
    QVERIFY(shows(box, EditState::Entered));
}

void SettingsPanelTest::guardedArrows()
{
    Screen screen;
    screen.findInstrument();
    const DeviceState &device = screen.device();
    auto *led = screen.child<QLineEdit>("Edit4");
    auto *arrows = screen.child<UpDown>("UpDown1");
    const QList<QToolButton *> buttons = arrows->findChildren<QToolButton *>();
    QCOMPARE(buttons.size(), 2);
    screen.program->link().want([](DeviceParams &set) { set.LED = 3; });
    screen.report(CMD_LED, 3);
    screen.program->main().refreshPanel();
    QSignalSpy steps(arrows, &UpDown::clicked);
    QVERIFY(device.panelRefreshPending);
    for (QToolButton *button : buttons)
        button->click();
    QCOMPARE(steps.size(), 2);
    const auto direction = [&](int n) { return steps.at(n).at(0).value<UpDown::Direction>(); };
    // Whichever button is up, one click each way comes back to 3 via 4 or 2.
    QCOMPARE(led->text(), QString("3"));
    QCOMPARE(device.Set.LED, 3);
    buttons[0]->click();
    const QString stepped = direction(2) == UpDown::Up ? "4" : "2";
    QCOMPARE(led->text(), stepped);
    QCOMPARE(device.Set.LED, 3);
    QVERIFY(shows(led, EditState::Confirmed));

    screen.refreshed();
    QCOMPARE(led->text(), QString("3")); // the reported value again
    buttons[0]->click();
    const int next = direction(3) == UpDown::Up ? 4 : 2;
    QCOMPARE(led->text(), QString::number(next));
    QCOMPARE(device.Set.LED, next);
    QVERIFY(shows(led, EditState::Entered));
}

void SettingsPanelTest::activeSensorList_data()
{
    QTest::addColumn<bool>("guarded");
    QTest::addColumn<uint>("expected");
    QTest::newRow("taken") << false << 2u;
    QTest::newRow("guarded") << true << 0u;
}

void SettingsPanelTest::activeSensorList()
{
    QFETCH(bool, guarded);
    QFETCH(uint, expected);
    Screen screen;
    screen.findInstrument();
    const DeviceState &device = screen.device();
    auto *list = screen.child<QComboBox>("ComboBox2");
    auto *mode = screen.child<QComboBox>("ComboBox1");
    screen.refreshed(); // Q_NR 0 selected
    const int32_t modeBefore = device.Set.mode;
    QVERIFY(modeBefore != 3);
    if (guarded)
        screen.report(CMD_LED, 3);
    QSignalSpy activated(list, &QComboBox::activated);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(activated.size(), 2);
    QCOMPARE(list->currentIndex(), 2);
    QCOMPARE(device.Set.Q_NR, expected);
    mode->setCurrentIndex(3);
    emit mode->activated(3);
    QCOMPARE(device.Set.mode, guarded ? modeBefore : 3);
    // A selection by code, as the refresh makes, is no choice of the user's.
    if (guarded)
        screen.refreshed();
    list->setCurrentIndex(1);
    QCOMPARE(device.Set.Q_NR, expected);
}

void SettingsPanelTest::activeSensorListColours_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("sensor 0 red") << 0 << QColor(255, 0, 0);
    QTest::newRow("sensor 1 lime") << 1 << QColor(0, 255, 0);
    QTest::newRow("sensor 2 aqua") << 2 << QColor(0, 255, 255);
}

void SettingsPanelTest::activeSensorListColours()
{
    QFETCH(int, item);
    QFETCH(QColor, colour);
    Screen screen;
    auto *list = screen.child<QComboBox>("ComboBox2");
    list->setCurrentIndex(item);
    list->resize(140, 22);
    const QImage face = list->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int inColour = 0;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            inColour += QColor(face.pixel(x, y)) == colour;
    // The field is most of the closed list; frame, arrow and text take the rest.
    QVERIFY2(inColour > face.width() * face.height() * 2 / 5,
             qPrintable(QString("%1 of %2").arg(inColour).arg(face.width() * face.height())));
}

void SettingsPanelTest::defaultsAreReadBack()
{
    SimParams old;
    old.mode = 2;
    old.decp = 4;
    old.Beep = 0;
    old.LED = 8;
    old.OnTime = 250;
    old.PK1 = 45.5f;
    old.PK2 = 100.25f;
    old.UZP = {1.0f, 2.0f, 3.0f};
    old.Offset = {4.0f, 5.0f, 6.0f};
    old.COEF = {2.0f, 3.0f, 4.0f};
    old.Q_NR = 2;
    Rig rig(old);
    QVERIFY(rig.settle());
    QCOMPARE(rig.child<QLineEdit>("Edit4")->text(), QString("8"));
    QVERIFY(!rig.child<QCheckBox>("CheckBox15")->isChecked());
    QSignalSpy reloaded(&rig.program->link(), &DeviceLink::parametersReloaded);
    rig.trace.lines.clear();
    rig.click("BitBtn3");
    QCOMPARE(rig.writesAtOnce(1), QStringList{writeOf(CMD_DEFAULTS)});
    QVERIFY(runUntil([&] { return !reloaded.isEmpty(); }, 5000));
    QVERIFY(rig.settle());

    const DeviceParams &set = rig.device().Set;
    const DeviceParams &stan = rig.device().Stan;
    const SimParams factory;
    QCOMPARE(stan.LED, int32_t(factory.LED));
    QCOMPARE(stan.OnTime, factory.OnTime);
    QCOMPARE(stan.PK1, factory.PK1);
    QCOMPARE(stan.COEF[2], factory.COEF[2]);
    DeviceParams wanted = set;
    std::copy(std::begin(stan.Res), std::end(stan.Res), std::begin(wanted.Res));
    QCOMPARE(std::memcmp(&wanted, &stan, sizeof wanted), 0);
    const QStringList expectedText = {"Edit4=5", "Edit5=100", "Edit6=90", "Edit7=270", "Edit9=2"};
    for (const QString &expected : expectedText) {
        auto *edit = rig.child<QLineEdit>(expected.section('=', 0, 0));
        QCOMPARE(edit->objectName() + "=" + edit->text(), expected);
        QVERIFY2(shows(edit, EditState::Confirmed), qPrintable(expected));
    }
    QVERIFY(rig.child<QCheckBox>("CheckBox15")->isChecked());
    QCOMPARE(rig.child<QLabel>("Label6")->text(), QString("1"));
    QCOMPARE(rig.child<QLabel>("Label17")->text(), QString("1"));

    // The active sensor comes with the sensor reply, which must be read again too.
    QCOMPARE(stan.Q_NR, uint32_t(factory.Q_NR));
    QCOMPARE(rig.child<QComboBox>("ComboBox2")->currentIndex(), int(factory.Q_NR));

    // Long enough for the sensor poll of the idle synchronisation.
    Rig::idleFor(3000);
    const QStringList allowed = {QString::number(CMD_DEFAULTS), QString::number(CMD_RES0), QString::number(CMD_RES1),
                                 QString::number(CMD_RES2)};
    QStringList stray;
    for (const QString &write : rig.writes())
        if (!allowed.contains(write.section(':', 0, 0)))
            stray << write;
    QVERIFY2(stray.isEmpty(), qPrintable(stray.join(" / ")));
    const SimParams now = rig.simParams();
    QVERIFY(sameSettings(now, factory));
    QCOMPARE(now.Res, (std::array<float, 3>{set.Res[0], set.Res[1], set.Res[2]}));
}

QTEST_MAIN(SettingsPanelTest)
#include "tst_settingspanel.moc"
