#pragma once

#include <QString>
#include <functional>

class Tserial_event;
class RequestSender;
class UserDialogs;
struct DeviceState;
struct ConnectionState;

/// What the connection wizard works on: the main window's port and state.
struct WizardContext {
    Tserial_event &port;
    RequestSender &sender;
    DeviceState &device;
    ConnectionState &connection;
    QString &deviceTypeName;
    UserDialogs &dialogs;
    /// Refreshes the settings panel and the device labels from the reported values.
    std::function<void()> refreshPanel;
};
