#pragma once

#include "Sample.h"

#include <QWidget>
#include <memory>

namespace Ui {
class RegisterPage;
}

/// The "Rejestracja pomiarów" tab: readings registered in a table, by hand or with every sample.
class RegisterPage : public QWidget {
    Q_OBJECT

public:
    explicit RegisterPage(QWidget *parent = nullptr);
    ~RegisterPage() override;

    /// The column titles, written at start-up when the settings file exists.
    void writeTitles();
    /// Every sample comes here; it is registered while "autoodczyt" is checked.
    void takeSample(const Sample &sample);
    void BitBtn5Click();

private:
    std::unique_ptr<Ui::RegisterPage> ui;
};
