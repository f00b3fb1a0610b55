#pragma once

#include "RegisterFileInfo.h"

class QIODevice;
class RegisterStore;

/// The bordered text table (".txt"): header lines, a title line, a dash line, one line per row.
RegisterWriteStatus writeRegisterTxt(QIODevice &out, const RegisterStore &store, const RegisterFileInfo &info,
                                     const RegisterProgress &progress = {});

/// The tab-separated spreadsheet file (".xls"): header lines, a title line, one line per row.
RegisterWriteStatus writeRegisterXls(QIODevice &out, const RegisterStore &store, const RegisterFileInfo &info,
                                     const RegisterProgress &progress = {});
