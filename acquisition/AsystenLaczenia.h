#pragma once

#include "MarkPictures.h"
#include "WizardContext.h"

#include <QWidget>
#include <memory>
#include <optional>

namespace Ui {
class TAsystentForm;
}
class QLabel;
class QTimer;

/// The connection wizard: opens the port named in its list, identifies the instrument
/// and reads its versions and every parameter, one request per 50 ms tick, each step a
/// row with a mark that shows it pending, done or failed.
class TAsystentForm : public QWidget {
    Q_OBJECT

public:
    explicit TAsystentForm(QWidget *parent = nullptr);
    ~TAsystentForm() override;

    /// Connects the wizard to the main window; its port list starts at the saved port.
    void attach(const WizardContext &context);

    void BitBtn3Click(); ///< "Połącz"
    void BitBtn4Click(); ///< "Rozłącz"
    void BitBtn2Click(); ///< "Przerwij łączenie"
    void BitBtn1Click(); ///< "OK"
    void Timer1Timer();
    void ShowResetDisplay();
    void ShowFailureDisplay();

    int wizardStep() const { return step; }
    int wizardTicks() const { return ticks; }
    /// The version texts shown in the rows "Hardware: V" and "Software: V".
    QString hardwareText() const;
    QString softwareText() const;

private:
    void setMark(QLabel *image, Mark mark);
    QLabel *image(int number) const;
    QLabel *label(int number) const;
    void reveal(std::initializer_list<QLabel *> widgets);
    void showMessage(const QString &text);
    void identify();
    void completeStep(int completed);
    void finish();
    void setProgress(int value);

    std::unique_ptr<Ui::TAsystentForm> ui;
    std::optional<WizardContext> ctx;
    QTimer *Timer1;
    int step = 0;
    int ticks = 0;
    bool inMessage = false;
};
