// Arbitrary bursts from the line, through the main window's routing into the reply and
// measurement handling, with the real device state and windows.
#include "Com_debugger.h"
#include "DeviceLink.h"
#include "HeldStartUp.h"
#include "Main.h"
#include "Program.h"
#include "RecordingDialogs.h"
#include "RegisterPage.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

struct Harness {
    int argc = 1;
    char name[16] = "fuzz_bursts";
    char *argv[2] = {name, nullptr};
    QApplication application{argc, argv};
    QTemporaryDir workDir;
    RecordingDialogs dialogs;
    std::unique_ptr<Program> program;

    Harness()
    {
        QDir::setCurrent(workDir.path());
        program = std::make_unique<Program>(dialogs);
        holdStartUpConnection(program->main());
        program->monitor().show(); // so that every trace line is built
        Tserial_event opened;      // the notification carries only its code
        program->link().OnPortEvent(&opened, Tserial_event::PortOpened);
        QCoreApplication::processEvents();
    }
};

Harness *harness = nullptr;

/// What the event loop and the user would do between bursts, which the fuzzer never does by
/// itself: without it the events posted to the windows pile up, and so do the rows
/// "autoodczyt" registers from every decoded frame, until the run crawls. Only every so many
/// inputs, as delivering the posted events repaints the monitor.
void housekeeping()
{
    constexpr int kInputsBetween = 64;
    static int inputs = 0;
    if (++inputs % kInputsBetween != 0)
        return;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    harness->dialogs.answers = {true};
    harness->program->registerPage().Button1Click();
    harness->dialogs.shown.clear();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    harness = new Harness;
    return 0;
}

// Each burst is a length byte followed by up to that many bytes, as the port would deliver them.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    DeviceLink &link = harness->program->link();
    size_t pos = 0;
    while (pos < size) {
        const size_t length = std::min<size_t>(data[pos] % 65, size - pos - 1);
        link.HandleBurst(QByteArray(reinterpret_cast<const char *>(data + pos + 1), qsizetype(length)), 0);
        pos += 1 + length;
    }
    harness->program->monitor().czy1Click();
    housekeeping();
    return 0;
}
