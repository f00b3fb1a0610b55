#include "HelpDocuments.h"

#include "ExternalLauncher.h"
#include "UserDialogs.h"

#include <QFileInfo>

namespace {
const QString kHelpFile = QStringLiteral("\\help\\KX520S-PC.hlp");
const QString kManualFile = QStringLiteral("\\Help\\KX520S rev 1.0_instrukcja_obslugi.pdf");

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}
} // namespace

HelpDocuments::HelpDocuments(UserDialogs &dialogs, ExternalLauncher &launcher, ProgramFolders folders)
    : dialogs(dialogs), launcher(launcher), folders(std::move(folders))
{
}

QString HelpDocuments::helpPage() const
{
    // The old help format has no viewer here: its pages ship as HTML under the same name.
    QString page = kHelpFile;
    page.replace(page.size() - 4, 4, QStringLiteral(".html"));
    for (const QString &candidate : {page, QStringLiteral("\\help\\index.html")}) {
        const QString path = folders.shippedFile(candidate);
        if (isFile(path))
            return path;
    }
    return {};
}

QString HelpDocuments::manualPath() const
{
    return folders.shippedFile(kManualFile);
}

void HelpDocuments::pomocprogramu1Click()
{
    const QString page = helpPage();
    if (page.isEmpty()) {
        dialogs.message(QStringLiteral("Nie znaleziono pomocy programu w folderze %1.")
                            .arg(folders.shippedFile(QStringLiteral("\\help"))));
        return;
    }
    open(page, QStringLiteral("pomocy programu"));
}

void HelpDocuments::instrukcjaKX520Q1Click()
{
    const QString manual = manualPath();
    if (!isFile(manual)) {
        dialogs.message(QStringLiteral("Nie znaleziono instrukcji obsługi %1.").arg(manual));
        return;
    }
    open(manual, QStringLiteral("instrukcji obsługi"));
}

void HelpDocuments::open(const QString &path, const QString &what)
{
    if (!launcher.openDocument(path))
        dialogs.message(
            QStringLiteral("Nie można otworzyć %1 (%2): brak programu do jej wyświetlenia.").arg(what, path));
}
