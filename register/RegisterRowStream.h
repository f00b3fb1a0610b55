#pragma once

#include "RegisterFileInfo.h"
#include "RegisterRow.h"

#include <QByteArray>

#include <string>

class QIODevice;
class RegisterStore;

/// Writes a register file's head and then each row, in one sequential pass and in large blocks.
/// An empty table is written as one row of empty cells. `appendRow` appends one line's bytes to an
/// emptied line buffer.
RegisterWriteStatus writeRegisterRows(QIODevice &out, const QByteArray &head, const RegisterStore &store,
                                      const std::function<void(std::string &, qint64, const RegisterRow &)> &appendRow,
                                      const RegisterProgress &progress);
