#include "GuardedRun.h"

#include <exception>

int runGuarded(const std::function<int()> &body, const std::function<void(const QString &message)> &report)
{
    try {
        return body();
    } catch (const std::exception &error) {
        report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        report(QString());
    }
    return 1;
}
