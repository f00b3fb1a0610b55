// Arbitrary config.ini contents through the positional reader. Whatever it read, the file the
// program writes back reads as the same settings, so that saving never drifts from run to run.
#include "SettingsFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Settings read = readSettings(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const Settings saved = readSettings(writeSettings(read));
    if (readSettings(writeSettings(saved)) != saved)
        __builtin_trap();
    return 0;
}
