#pragma once

#include <QString>
#include <functional>

/// Runs the program's body and returns its exit code. An exception that escapes it is
/// reported with its text and ends the program with code 1, never as a clean exit.
int runGuarded(const std::function<int()> &body, const std::function<void(const QString &message)> &report);
