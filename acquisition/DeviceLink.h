#pragma once

#include "AcquisitionPacer.h"
#include "ConnectionSequence.h"
#include "ConnectionState.h"
#include "DeviceState.h"
#include "ParameterSync.h"
#include "ReplyHandler.h"
#include "RequestSender.h"
#include "Sample.h"
#include "SamplePeriodMeter.h"
#include "Tserial_event.h"

#include <QByteArray>
#include <QObject>
#include <functional>

class QSocketNotifier;
class QTimer;

class TrafficTrace;

/// The program's link to the instrument: the port and its worker, the requests, the
/// connection and device state, the pacing of measurements and the routing of what
/// arrives into reply and measurement handling. Windows act through it and learn of
/// its changes by its signals; everything here runs on the user-interface thread
/// except OnPortEvent, which only hands over.
class DeviceLink : public QObject {
    Q_OBJECT

public:
    explicit DeviceLink(AcquisitionPacer::Clock clock = AcquisitionPacer::monotonicTime, QObject *parent = nullptr);
    ~DeviceLink() override;

    /// Opens the port (64-byte read block, 8N1) and returns the port's result code. The
    /// opened() that follows a quiet open says so, and one that fails leaves nothing pending.
    int open(const QString &portName, int32_t baudRate, bool quiet);
    void close();
    /// Stops the worker without any further notification, as at exit.
    void shutdown();

    void setTrace(TrafficTrace *trace);
    /// The sampling the idle handler follows: a period in milliseconds, or continuous.
    void setSampling(bool continuous, int periodMs);
    bool continuousSampling() const { return continuous_; }

    RequestSender &sender() { return sender_; }
    Tserial_event &port() { return serialPort; }
    ConnectionState &connection() { return connection_; }
    DeviceState &device() { return device_; }
    ChannelState &channels() { return channels_; }
    AcquisitionPacer &pacer() { return pacer_; }
    AcquisitionState &acquisition() { return pacer_.state(); }
    ParameterSync &synchronisation() { return sync_; }
    /// The model name of the instrument last identified.
    QString deviceTypeName() const;

    /// One pass of the idle pacing: sends the measurement request when it is due.
    void ApplicationIdle();
    /// One tick of the parameter synchronisation: sends what it decides and, where replies
    /// changed the reported values, runs refreshPanel before the refresh counts as done.
    /// Nothing is written while the parameters are being read again.
    void synchronise(const std::function<void()> &refreshPanel);
    bool reloading() const { return reload_.running(); }

    /// The port's notifier; runs on the port's worker thread and only hands over.
    void OnPortEvent(Tserial_event *port, int event);
    /// The user-interface half of a DataArrived: routes the burst to the reply or the
    /// measurement handling while the port is open.
    void HandleBurst(const QByteArray &burst);

signals:
    void opened(bool quiet);
    void closed();
    void replyHandled(const ReplyEffect &effect);
    /// A measurement frame reported a sensor appearing or disappearing.
    void presenceChanged(int sensor, bool present);
    /// Each sample, after presence changes; slots run in the order they were connected.
    void sampleDecoded(const Sample &sample);
    /// Continuous sampling: the mean period of the last ten frames, in milliseconds.
    void samplePeriodMeasured(double periodMs);
    /// The parameters were read again after the factory settings and adopted as wanted.
    void parametersReloaded();

private:
    void portNotification(int event);
    void HandleReply(const uint8_t *p);
    void HandleMeasurement(const uint8_t *p, size_t n);
    void reloadTick();
    /// The pacing's wake-up: the event loop wakes after `seconds` (none when negative), and
    /// the idle pass follows once the queue is empty.
    void armWake(double seconds);
    void wakeUpArrived();

    Tserial_event serialPort;
    RequestSender sender_;
    TrafficTrace *trace_ = nullptr;
    ConnectionState connection_;
    DeviceState device_;
    ChannelState channels_;
    AcquisitionPacer pacer_;
    ParameterSync sync_;
    SamplePeriodMeter samplePeriod_;
    ConnectionSequence reload_;
    QTimer *reloadTimer_;
    int wakeFd_ = -1;
    QSocketNotifier *wakeNotifier_ = nullptr;
    bool quietPending_ = false;
    bool continuous_ = false;
    int periodMs_ = 10;
};
