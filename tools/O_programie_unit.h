#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TO_programieForm;
}

/// The about window.
class TO_programieForm : public QWidget {
    Q_OBJECT

public:
    explicit TO_programieForm(QWidget *parent = nullptr);
    ~TO_programieForm() override;

private:
    std::unique_ptr<Ui::TO_programieForm> ui;
};
