#pragma once

#include "RegisterFileInfo.h"

#include <QString>

#include <optional>

class RegisterStore;

enum class RegisterFileKind { Txt, Xls };

/// The file a confirmed name is saved to, or why it is not saved.
struct RegisterSaveTarget {
    QString path;
    std::optional<RegisterFileKind> kind; ///< empty: not saved, `reason` says why
    QString reason;
};

/// The file kind follows the name's extension, ".txt" or ".xls" in any case; a name without an
/// extension takes the one of the chosen dialog filter (such as "Excel (*.xls)").
RegisterSaveTarget registerSaveTarget(const QString &name, const QString &selectedFilter);

/// What a save did: on failure `message` tells the user which file was not written and why.
struct RegisterSaveResult {
    bool written = false;
    QString path;
    QString message;
};

/// Saves the table under the confirmed name. The file is replaced only once it is complete:
/// a failure or a cancel through `progress` leaves the previous file as it was.
RegisterSaveResult saveRegister(const QString &name, const QString &selectedFilter, const RegisterStore &store,
                                const RegisterFileInfo &info, const RegisterProgress &progress = {});
