#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

/// A fresh working folder for the duration of a test, optionally with a config.ini.
class ScopedWorkDir {
public:
    ScopedWorkDir() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScopedWorkDir() { QDir::setCurrent(previous_); }

    QString path() const { return dir_.path(); }

    void write(const QString &name, const QByteArray &contents) const
    {
        QFile file(dir_.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(contents);
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};
