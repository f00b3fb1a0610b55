#include "UserSettings.h"

UserSettings::UserSettings()
    : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KX520S-PC"), QStringLiteral("KX520S-PC"))
{
}
