#include "RegisterSave.h"

#include "RegisterFiles.h"
#include "SavedFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString notWritten(const QString &path, const QString &reason)
{
    if (path.isEmpty())
        return QStringLiteral("Plik nie został zapisany: %1.").arg(reason);
    return QStringLiteral("Plik „%1” nie został zapisany: %2.").arg(QDir::toNativeSeparators(path), reason);
}

std::optional<RegisterFileKind> kindOf(const QString &extension)
{
    if (extension.compare(QLatin1String(".txt"), Qt::CaseInsensitive) == 0)
        return RegisterFileKind::Txt;
    if (extension.compare(QLatin1String(".xls"), Qt::CaseInsensitive) == 0)
        return RegisterFileKind::Xls;
    return std::nullopt;
}

bool readOnly(const QFileInfo &file)
{
    // The permission bits too: a user allowed to write anything would otherwise replace it.
    constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return file.exists() && (!file.isWritable() || !(file.permissions() & anyWrite));
}

// Why a file could not be created or written, in the user's words.
QString failureReason(const QString &path, const QString &systemReason)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("folder „%1” nie istnieje").arg(QDir::toNativeSeparators(folder.filePath()));
    if (readOnly(file))
        return QStringLiteral("plik jest tylko do odczytu");
    if (!folder.isWritable())
        return QStringLiteral("brak prawa zapisu w folderze „%1”").arg(QDir::toNativeSeparators(folder.filePath()));
    return QStringLiteral("błąd zapisu (%1)").arg(systemReason);
}

} // namespace

RegisterSaveTarget registerSaveTarget(const QString &name, const QString &selectedFilter)
{
    if (name.isEmpty())
        return {{}, std::nullopt, QStringLiteral("nie wybrano jeszcze pliku, użyj „Zapisz Jako...”")};
    const QString fileName = QFileInfo(name).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\*(\\.\\w+)")).match(selectedFilter);
        if (match.hasMatch() && kindOf(match.captured(1)))
            return {name + match.captured(1), kindOf(match.captured(1)), {}};
        return {name, std::nullopt, QStringLiteral("nazwa nie ma rozszerzenia, wybierz .txt lub .xls")};
    }
    const QString extension = fileName.mid(dot);
    if (const auto kind = kindOf(extension))
        return {name, kind, {}};
    return {name, std::nullopt,
            QStringLiteral("rozszerzenie „%1” nie jest obsługiwane, wybierz .txt (tabela tekstowa) "
                           "lub .xls (arkusz kalkulacyjny)")
                .arg(extension)};
}

RegisterSaveResult saveRegister(const QString &name, const QString &selectedFilter, const RegisterStore &store,
                                const RegisterFileInfo &info, const RegisterProgress &progress)
{
    const RegisterSaveTarget target = registerSaveTarget(name, selectedFilter);
    if (!target.kind)
        return {false, target.path, notWritten(target.path, target.reason)};
    if (readOnly(QFileInfo(target.path)))
        return {false, target.path, notWritten(target.path, QStringLiteral("plik jest tylko do odczytu"))};

    bool cancelled = false;
    const SaveResult saved = saveFile(target.path, [&](QIODevice &out, QString &) {
        const RegisterWriteStatus status = *target.kind == RegisterFileKind::Txt
                                               ? writeRegisterTxt(out, store, info, progress)
                                               : writeRegisterXls(out, store, info, progress);
        cancelled = status == RegisterWriteStatus::Cancelled;
        return status == RegisterWriteStatus::Complete;
    });
    if (saved.ok)
        return {true, target.path, {}};
    if (cancelled)
        return {false, target.path,
                notWritten(target.path, QStringLiteral("zapis przerwano, poprzednia zawartość pliku pozostała"))};
    return {false, target.path, notWritten(target.path, failureReason(target.path, saved.reason))};
}
