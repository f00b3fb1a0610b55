// Register at a day of continuous sampling: cost of appending a row to the table model, memory
// per row, and the speed of saving both file formats. Arguments: row counts (default 1.6M, 17M).
#include "RegisterFiles.h"
#include "RegisterSave.h"
#include "RegisterTableModel.h"
#include "Registration.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>

namespace {

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// Takes the bytes and drops them: the writers' own cost, without the disk.
class DiscardDevice : public QIODevice {
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override { return size; }
};

void formatAndReport(const RegisterStore &store, const RegisterFileInfo &info)
{
    DiscardDevice out;
    out.open(QIODevice::WriteOnly);
    for (const auto &[name, write] : {std::pair{"txt", &writeRegisterTxt}, std::pair{"xls", &writeRegisterXls}}) {
        QElapsedTimer timer;
        timer.start();
        write(out, store, info, {});
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("  format .%s (no disk): %.2f s, %.2f M rows/s\n", name, seconds, store.size() / seconds / 1e6);
    }
}

void saveAndReport(const RegisterStore &store, const QString &path, const RegisterFileInfo &info)
{
    QElapsedTimer timer;
    timer.start();
    qint64 calls = 0;
    const RegisterSaveResult result = saveRegister(path, {}, store, info, [&](qint64, qint64) {
        ++calls;
        return true;
    });
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("  save %s: %.2f s, %.2f M rows/s, %.1f MB, %lld progress calls%s\n", qPrintable(path.right(4)),
                seconds, store.size() / seconds / 1e6, QFile(path).size() / 1e6, calls,
                result.written ? "" : qPrintable(" FAILED " + result.message));
    QFile::remove(path);
}

void run(qint64 rows, const QString &folder)
{
    // Every box checked: the widest rows and the most formatting.
    RegisterChoice choice;
    choice.date = choice.time = choice.pk1 = choice.pk2 = true;
    RegisterSample sample{0, {}, {true, true, true}, false, false, QDateTime(QDate(2024, 3, 5), QTime(0, 0), Qt::UTC)};

    const qint64 before = residentBytes();
    RegisterStore store;
    RegisterTableModel model(store);
    QElapsedTimer timer;
    timer.start();
    for (qint64 r = 0; r < rows; ++r) {
        // About 200 samples a second, values sweeping the dial. The clock is kept in UTC only so that
        // the harness does not pay for local-time conversions; the row holds the wall-clock time alike.
        sample.measTime = r * 0.005;
        sample.now = sample.now.addMSecs(5);
        const float angle = float(r % 36000) / 100.0f;
        sample.shown = {angle, 360.0f - angle, r % 7 ? std::optional<float>(angle / 2) : std::nullopt};
        sample.pk1State = r % 3 == 0;
        sample.pk2State = r % 5 == 0;
        store.append(registerRow(sample, choice));
        model.catchUp();
    }
    const double appendNs = double(timer.nsecsElapsed()) / double(rows);
    const qint64 after = residentBytes();
    std::printf("%lld rows: append %.0f ns/row, %.1f bytes/row resident\n", rows, appendNs,
                double(after - before) / double(rows));

    RegisterFileInfo info;
    info.deviceTypeName = QStringLiteral("KX520S");
    info.measTime = sample.measTime;
    info.continuous = true;
    info.now = sample.now;
    formatAndReport(store, info);
    saveAndReport(store, folder + QStringLiteral("/register.txt"), info);
    saveAndReport(store, folder + QStringLiteral("/register.xls"), info);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QList<qint64> counts;
    for (int i = 1; i < argc; ++i)
        counts << QByteArray(argv[i]).toLongLong();
    if (counts.isEmpty())
        counts = {1600000, 17000000};
    QTemporaryDir folder;
    for (const qint64 rows : counts)
        run(rows, folder.path());
    return 0;
}
