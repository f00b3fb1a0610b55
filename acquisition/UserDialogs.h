#pragma once

#include <QString>

/// Message boxes go through here, so that tests record them instead of blocking.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    /// A plain message box with an OK button; returns when dismissed.
    virtual void message(const QString &text) = 0;
    /// A captioned message box with the information icon; returns when dismissed.
    virtual void information(const QString &text, const QString &caption) = 0;
};
