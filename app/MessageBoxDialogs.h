#pragma once

#include "UserDialogs.h"

/// Modal message boxes of the running program.
class MessageBoxDialogs : public UserDialogs {
public:
    void message(const QString &text) override;
    void information(const QString &text, const QString &caption) override;
};
