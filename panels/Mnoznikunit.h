#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TMnoznikForm;
}
class QLineEdit;

/// The multiplier entry dialog, one for all three sensors.
class TMnoznikForm : public QWidget {
    Q_OBJECT

public:
    explicit TMnoznikForm(QWidget *parent = nullptr);
    ~TMnoznikForm() override;

    QLineEdit *Edit6() const;

    int channel = 0;

private:
    std::unique_ptr<Ui::TMnoznikForm> ui;
};
