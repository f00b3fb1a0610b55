#pragma once

#include "RegisterFileInfo.h"
#include "Registration.h"
#include "RememberedFileDialog.h"
#include "Sample.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class RegisterPage;
}
class QCheckBox;
class QTimer;
class RegisterStore;
class RegisterTableModel;
class UserDialogs;
struct Settings;

/// The "Rejestracja pomiarów" tab: readings registered in a table, by hand or with every sample,
/// and the table saved as a bordered text file or a spreadsheet file.
class RegisterPage : public QWidget {
    Q_OBJECT

public:
    /// `reading` tells what the readout shows at the moment of a registration (a `now` left
    /// invalid is taken from the clock); `fileInfo` the facts the files' header lines describe.
    RegisterPage(UserDialogs &dialogs, std::function<RegisterSample()> reading,
                 std::function<RegisterFileInfo()> fileInfo, QWidget *parent = nullptr);
    ~RegisterPage() override;

    /// The column titles, written at start-up when the settings file exists.
    void writeTitles();
    /// The register's check boxes from the settings file, set in its line order as clicks.
    void applySettings(const Settings &settings);
    void storeSettings(Settings &settings) const;

    /// Every sample comes here; it is registered while "autoodczyt" is checked.
    void takeSample(const Sample &sample);

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
    /// Takes the rows rebuilt after an unclean end in place of the table's own.
    void adopt(RegisterStore &&rows);

signals:
    /// A registration, for the run's journal.
    void rowRegistered(const RegisterRow &row);
    void cleared();

private:
    RegisterChoice choice() const;
    int indexColumnWidth() const;
    void showLastRow();
    void followLastRow();

    std::unique_ptr<Ui::RegisterPage> ui;
    UserDialogs &dialogs;
    std::function<RegisterSample()> reading;
    std::function<RegisterFileInfo()> fileInfo;
    RegisterTableModel *model;
    RememberedFileDialog SaveDialog4;
    int chosenFilter = 0;
    QTimer *followTimer;
    bool followPending = false;
};
