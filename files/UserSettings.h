#pragma once

#include <QSettings>

/// The per-user settings file (~/.config/KX520S-PC/KX520S-PC.conf) for what config.ini, whose
/// 29 lines are fixed, does not hold.
class UserSettings : public QSettings {
public:
    UserSettings();
};
