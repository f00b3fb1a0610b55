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
#include <memory>
#include <mutex>

class QTimer;
class WakeThread;

class TrafficTrace;

/// The program's device service: the port and its worker, the one queue of requests, the
/// connection and device state, the pacing of measurements and the routing of what arrives
/// into reply and measurement handling. Its state is its own: windows change it only by the
/// commands below and learn of changes by its signals. Everything here runs on the
/// user-interface thread except the pacing of measurement requests, which runs on a thread of
/// its own and on the port's worker (so that the line's pace never waits for drawing), and
/// OnPortEvent, which otherwise only hands over.
class DeviceLink : public QObject {
    Q_OBJECT

public:
    explicit DeviceLink(AcquisitionPacer::Clock clock = AcquisitionPacer::monotonicTime, QObject *parent = nullptr);
    ~DeviceLink() override;

    // The port.

    /// Opens the named port (64-byte read block, 8N1) and returns the port's result code;
    /// the name becomes the link's port. The opened() that follows a quiet open says so, and
    /// one that fails leaves nothing pending.
    int open(const QString &portName, int32_t baudRate, bool quiet);
    void close();
    /// Closes the port if open and forgets the instrument, as the wizard's disconnect does.
    void disconnectInstrument();
    /// Stops the worker without any further notification, as at exit.
    void shutdown();
    /// Why the last open failed.
    const OpenFailure &lastOpenFailure() const { return serialPort.lastFailure(); }
    /// A port chosen in a menu: the next open takes it.
    void choosePort(const QString &portName);
    /// The port remembered from the settings; not yet chosen for an open.
    void setPortName(const QString &portName);
    /// For tests and benchmarks that read the port's own state.
    const Tserial_event &port() const { return serialPort; }

    // Requests, all through the port's one queue: none is dropped while the port is open.

    void sendRead(uint8_t cmd, const kx::FrameData &data = kx::kZeroData);
    void sendWrite(uint8_t cmd, const kx::FrameData &data = kx::kZeroData);
    /// The monitor shows each request once it has really left the port.
    void setTrace(TrafficTrace *trace);

    // The connection.

    /// A new connection begins: the instrument counts as not found and its parameters as not read.
    void beginConnecting();
    /// One tick of a connection sequence run over the link's state; its request is sent.
    SequenceTick connectionStep(ConnectionSequence &sequence);

    // The instrument's parameters.

    /// The user's wanted values change only through here; the synchronisation then writes
    /// what differs from the reported ones.
    void want(const std::function<void(DeviceParams &wanted)> &change);
    /// "zeruj": the instrument sets its zero position itself, which is then read again.
    void zeroSensor(int sensor);
    /// "wyzeruj cykle": served by the synchronisation until the instrument acknowledges it.
    void requestCycleReset(int sensor);
    /// One tick of the parameter synchronisation: sends what it decides and, where replies
    /// changed the reported values, runs refreshPanel before the refresh counts as done.
    /// Nothing is written while the parameters are being read again.
    void synchronise(const std::function<void()> &refreshPanel);
    bool reloading() const { return reload_.running(); }

    // Acquisition.

    /// The sampling the pacing follows: a period in milliseconds, or continuous.
    void setSampling(bool continuous, int periodMs);
    bool continuousSampling() const;
    int samplingPeriodMs() const;
    void startAcquisition();
    void stopAcquisition();
    void pauseAcquisition();
    /// Requests stop leaving; the acquisition time stays as it is.
    void holdAcquisition();
    /// The acquisition time is set, as when the chart starts recording (0) or a run goes on.
    void setAcquisitionTime(double seconds);
    /// A run taken back from its journal goes on from `seconds`, the next START included.
    void continueRunFrom(double seconds);
    /// The acquisition time now, in seconds.
    double acquisitionTime() const;
    /// One pass of the pacing: sends the measurement request when it is due. Runs on the
    /// pacing's own thread when its time comes; any thread may call it.
    void ApplicationIdle();

    // The state, read-only.

    const ConnectionState &connection() const { return connection_; }
    const DeviceState &device() const { return device_; }
    const ChannelState &channels() const { return channels_; }
    /// A copy: the pacing changes it on other threads.
    AcquisitionState acquisition() const;
    const ParameterSync &synchronisation() const { return sync_; }
    /// The model name of the instrument last identified.
    QString deviceTypeName() const;

    /// The port's notifier; runs on the port's worker thread. It hands over, and in
    /// continuous sampling it sends the next request as soon as a measurement has arrived.
    void OnPortEvent(Tserial_event *port, int event);
    /// The user-interface half of a DataArrived: routes the burst to the reply or the
    /// measurement handling while the port is open. `arrivedAt` is the acquisition time
    /// when it arrived, the time its sample is taken at.
    void HandleBurst(const QByteArray &burst, double arrivedAt);

signals:
    void opened(bool quiet);
    /// The port closed: `lost` when the line failed under it (the adapter pulled out, the
    /// device gone), not when the program closed it.
    void closed(bool lost);
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
    void portNotification(int event, bool lost);
    void HandleReply(const uint8_t *p);
    void HandleMeasurement(const uint8_t *p, size_t n, double arrivedAt);
    /// Worker thread: the acquisition time of a burst that has just arrived; a measurement
    /// lets the next continuous request leave at once.
    double paceArrival(const char *data, int size);
    /// The pacing threads read what they decide by only through here.
    void pacingInputsChanged();
    void reloadTick();
    void traceSent(const QByteArray &block);
    bool deviceTypeKnown() const { return device_.deviceType != 0; }

    Tserial_event serialPort;
    RequestSender sender_;
    TrafficTrace *trace_ = nullptr;
    ConnectionState connection_;
    DeviceState device_;
    ChannelState channels_;
    // The pacer and what it decides by, shared with the pacing threads.
    struct PacingInputs {
        bool continuous = false;
        int periodMs = 10;
        int32_t deviceType = 0;
    };
    mutable std::mutex pacingMutex_;
    AcquisitionPacer pacer_;
    PacingInputs pacing_;
    ParameterSync sync_;
    SamplePeriodMeter samplePeriod_;
    ConnectionSequence reload_;
    QTimer *reloadTimer_;
    bool quietPending_ = false;
    std::unique_ptr<WakeThread> wake_; // last: its passes use everything above
};
