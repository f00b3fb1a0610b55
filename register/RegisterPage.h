#pragma once

#include "RegisterFileInfo.h"
#include "Registration.h"
#include "RememberedFileDialog.h"
#include "SavedState.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class RegisterPage;
}
class QCheckBox;
class QTimer;
class BackgroundJob;
class MeasurementSession;
class RegisterTableModel;
class UserDialogs;
struct Settings;

/// The "Rejestracja pomiarów" tab: readings registered in a table, by hand or with every sample,
/// and the table saved as a bordered text file or a spreadsheet file.
class RegisterPage : public QWidget {
    Q_OBJECT

public:
    /// Shows the session's rows and sends it the user's choices; `fileInfo` tells the facts the
    /// files' header lines describe.
    RegisterPage(UserDialogs &dialogs, MeasurementSession &session, std::function<RegisterFileInfo()> fileInfo,
                 QWidget *parent = nullptr);
    ~RegisterPage() override;

    /// The column titles, written at start-up when the settings file exists.
    void writeTitles();
    /// The register's check boxes from the settings file, set in its line order as clicks.
    void applySettings(const Settings &settings);
    void storeSettings(Settings &settings) const;

    /// "Odczytaj pozycje": registers one row.
    void BitBtn5Click();
    /// "Zapisz Jako...".
    void BitBtn1Click();
    /// "     Zapisz       ": saves to the name chosen last.
    void BitBtn4Click();
    /// " Wyczyść", after a confirmation.
    void Button1Click();
    void CheckBox16Click();
    void CheckBox12Click();

    const RegisterTableModel &table() const { return *model; }
    /// A save runs in the background; the page's file buttons wait for it.
    bool saving() const;

private:
    /// The boxes that decide what a registration holds, as the session registers by them.
    void passChoice();
    void showAllRows();
    void saveFinished(bool ok, const QString &message);
    int indexColumnWidth() const;
    void showLastRow();
    void followLastRow();
    /// The window of rows fits the table's height; the scroll bar covers every row.
    void fitRowWindow();
    void updateRowScroll();
    bool eventFilter(QObject *watched, QEvent *event) override;

    std::unique_ptr<Ui::RegisterPage> ui;
    UserDialogs &dialogs;
    MeasurementSession &session;
    std::function<RegisterFileInfo()> fileInfo;
    RegisterTableModel *model;
    RememberedFileDialog SaveDialog4;
    int chosenFilter = 0;
    QTimer *followTimer;
    BackgroundJob *saveJob;
    SavedState::Mark saveMark;
    bool followPending = false;
};
