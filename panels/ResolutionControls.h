#pragma once

class DeviceLink;

#include <QObject>
#include <array>
#include <optional>

class QComboBox;
class QLineEdit;
class UpDown;

/// The three resolution rows of the settings tab: an edit box with arrows and a list
/// of the usual resolutions, kept showing the same value.
class ResolutionControls : public QObject {
    Q_OBJECT

public:
    struct Row {
        QLineEdit *edit;
        UpDown *arrows;
        QComboBox *list;
    };

    ResolutionControls(const std::array<Row, 3> &rows, DeviceLink &link, QObject *parent = nullptr);

    /// The list item that names a resolution: "8bit" 256 … "15bit" 32768, else "----" (0).
    static int itemForValue(long long value);
    /// The resolution an item names; none for "----".
    static std::optional<int> valueOfItem(int item);

    /// Shows the list item that matches newValue; does not run the list's click action.
    void UpDownChangingEx(int sensor, int newValue);
    /// The list's click: its value into the edit box, then taken as on Enter.
    void listClick(int sensor);
    /// Enter in the edit box: the number becomes the wanted resolution.
    void enter(int sensor);
    /// A resolution reply: edit box, arrows and list show the instrument's value, in white.
    void showReported(int sensor, long long steps);

private:
    std::array<Row, 3> rows_;
    DeviceLink &link_;
};
