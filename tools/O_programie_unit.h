#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TO_programieForm;
}

/// The about window: kept for the whole run, shown beside the main window without
/// blocking it.
class TO_programieForm : public QWidget {
    Q_OBJECT

public:
    explicit TO_programieForm(QWidget *parent = nullptr);
    ~TO_programieForm() override;

    /// Shows the window, or brings it forward when it is already shown.
    void showAbout();
    /// "OK": hides the window.
    void BitBtn1Click();

private:
    std::unique_ptr<Ui::TO_programieForm> ui;
};
