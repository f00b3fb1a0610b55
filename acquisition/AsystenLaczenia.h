#pragma once

#include "ConnectionSequence.h"
#include "MarkPictures.h"
#include "PortList.h"

#include <QWidget>
#include <array>
#include <memory>

namespace Ui {
class TAsystentForm;
}
class DeviceLink;
class QLabel;
class QTimer;
class UserDialogs;

/// The connection wizard: opens the port named in its list and shows, row by row with a
/// mark pending, done or failed, how the connection sequence identifies the instrument
/// and reads its parameters.
class TAsystentForm : public QWidget {
    Q_OBJECT

public:
    /// The port list shows the ports the enumerator finds, read again at every showing.
    TAsystentForm(DeviceLink &link, UserDialogs &dialogs, PortEnumerator ports = PortList::systemPorts,
                  QWidget *parent = nullptr);
    ~TAsystentForm() override;

    void BitBtn3Click(); ///< "Połącz"
    void BitBtn4Click(); ///< "Rozłącz"
    void BitBtn2Click(); ///< "Przerwij łączenie"
    void BitBtn1Click(); ///< "OK"
    void Timer1Timer();
    void ShowResetDisplay();
    void ShowFailureDisplay();

    int wizardStep() const { return sequence.step(); }
    /// The port list starts at the port saved in the settings.
    void showSavedPort();

signals:
    /// "Połącz" has tried the port, 100 ms after the click.
    void openFinished(bool opened);
    /// The sequence found the instrument and adopted its values.
    void connected();

protected:
    void showEvent(QShowEvent *event) override;

private:
    /// A row of the step list: its mark and its captions.
    struct Row {
        QLabel *mark;
        QLabel *label;
        QLabel *value = nullptr; ///< the port name or version beside the caption
    };

    Row &row(int imageNumber) { return rows[size_t(imageNumber - kFirstMark)]; }
    void setMark(int imageNumber, Mark mark);
    void reveal(int imageNumber, bool withLabel = true);
    void showMessage(const QString &text);
    void openPort();
    void showCompleted(int step);
    void showFinished();
    void setProgress(int value);
    void fillPortList();

    static constexpr int kFirstMark = 5;
    static constexpr int kLastMark = 23;

    std::unique_ptr<Ui::TAsystentForm> ui;
    DeviceLink &link;
    UserDialogs &dialogs;
    PortEnumerator ports;
    std::array<Row, kLastMark - kFirstMark + 1> rows;
    std::array<QPixmap, 4> marks;
    ConnectionSequence sequence;
    QTimer *Timer1;
    bool inMessage = false;
};
