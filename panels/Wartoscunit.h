#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TWartoscForm;
}
class QLabel;
class QLineEdit;

/// The zero-position and offset entry dialog, one for all three sensors.
class TWartoscForm : public QWidget {
    Q_OBJECT

public:
    explicit TWartoscForm(QWidget *parent = nullptr);
    ~TWartoscForm() override;

    /// Its caption says which value the dialog edits: exactly "Poz. zero =" means the zero position.
    QLabel *Label1() const;
    QLineEdit *Edit1() const;

    int channel = 0;

private:
    std::unique_ptr<Ui::TWartoscForm> ui;
};
