#include "DeviceLink.h"

#include "BurstRoute.h"
#include "FrameCompletion.h"
#include "MeasurementDecoder.h"
#include "TrafficTrace.h"
#include "WakeThread.h"

#include <QTimer>

DeviceLink::DeviceLink(AcquisitionPacer::Clock clock, QObject *parent)
    : QObject(parent), sender_([this](const kx::ProtocolFrame &frame) {
          serialPort.send(reinterpret_cast<const char *>(frame.data()), int(frame.size()));
      }),
      pacer_(std::move(clock), [this](double seconds) { wake_->arm(seconds); }), reloadTimer_(new QTimer(this))
{
    reloadTimer_->setInterval(50);
    connect(reloadTimer_, &QTimer::timeout, this, &DeviceLink::reloadTick);
    serialPort.setNotifier([this](Tserial_event *port, int event) { OnPortEvent(port, event); });
    // A read holding one whole frame is handed over at once instead of after the read gap.
    serialPort.setCompletionRule(&isWholeFrame);
    // The instrument answers one request at a time; requests queued behind one wait for its
    // answer, so that two answers never arrive as one burst. At most half the time a continuous
    // request waits for its frame: one held behind a lost answer still gets its own in time.
    serialPort.setAnswerWait(25);
    // Its own thread, not a timer of the event loop: Qt's timers wake in whole milliseconds
    // and wait for whatever the user-interface thread is doing.
    wake_ = std::make_unique<WakeThread>([this] { ApplicationIdle(); });
    // One first pass measures the clock, so that the readout's tick has a step to go by.
    wake_->arm(0);
}

DeviceLink::~DeviceLink()
{
    // The worker must not hand anything to an object that is going away, nor keep the exit waiting.
    serialPort.shutdownQuietly();
    // Stopped while the link is whole: a pass under way still asks the thread for its next time.
    wake_->stop();
}

int DeviceLink::open(const QString &portName, int32_t baudRate, bool quiet)
{
    connection_.setPortName(portName);
    serialPort.setReadSize(64);
    quietPending_ = quiet;
    const int result = serialPort.open(connection_.portName().toLocal8Bit().constData(), baudRate, 0, 8, false);
    // No PortOpened will come to consume the choice; otherwise it stays until that
    // notification arrives, however late.
    if (result != 0) {
        quietPending_ = false;
        return result;
    }
    connection_.portOpen = connection_.portChosen = connection_.baudChosen = true;
    return result;
}

void DeviceLink::close()
{
    serialPort.close();
}

void DeviceLink::disconnectInstrument()
{
    if (connection_.portOpen)
        serialPort.close();
    connection_.portOpen = false;
    connection_.deviceFound = false;
}

void DeviceLink::choosePort(const QString &portName)
{
    connection_.setPortName(portName);
    connection_.portChosen = true;
}

void DeviceLink::setPortName(const QString &portName)
{
    connection_.setPortName(portName);
}

void DeviceLink::sendRead(uint8_t cmd, const kx::FrameData &data)
{
    sender_.SendRead(cmd, data);
}

void DeviceLink::sendWrite(uint8_t cmd, const kx::FrameData &data)
{
    sender_.SendWrite(cmd, data);
}

void DeviceLink::traceSent(const QByteArray &block)
{
    if (!trace_ || !trace_->visible())
        return;
    if (const auto line =
            RequestSender::traceLine(reinterpret_cast<const uint8_t *>(block.constData()), int(block.size())))
        trace_->appendLine(*line);
}

void DeviceLink::beginConnecting()
{
    connection_.deviceFound = false;
    ConnectionSequence::forgetParameters(device_);
    pacingInputsChanged();
}

SequenceTick DeviceLink::connectionStep(ConnectionSequence &sequence)
{
    const SequenceTick tick = sequence.tick(device_, connection_);
    pacingInputsChanged();
    if (tick.request)
        sender_.SendRead(*tick.request);
    return tick;
}

void DeviceLink::want(const std::function<void(DeviceParams &wanted)> &change)
{
    change(device_.Set);
}

void DeviceLink::zeroSensor(int sensor)
{
    sender_.SendWrite(uint8_t(kx::CMD_ZERO0 + sensor));
    device_.Recv.UZP[sensor] = false;
}

void DeviceLink::requestCycleReset(int sensor)
{
    sync_.cycleResetPending[sensor] = true;
}

void DeviceLink::startAcquisition()
{
    std::lock_guard lock(pacingMutex_);
    pacer_.start();
}

void DeviceLink::stopAcquisition()
{
    std::lock_guard lock(pacingMutex_);
    pacer_.stop();
}

void DeviceLink::pauseAcquisition()
{
    // Passes come only when due: the time run since the last one counts before a pause.
    if (acquisition().GO)
        ApplicationIdle();
    std::lock_guard lock(pacingMutex_);
    pacer_.pause();
}

void DeviceLink::holdAcquisition()
{
    if (acquisition().GO)
        ApplicationIdle();
    std::lock_guard lock(pacingMutex_);
    pacer_.hold();
}

void DeviceLink::setAcquisitionTime(double seconds)
{
    std::lock_guard lock(pacingMutex_);
    pacer_.setTime(seconds, pacing_.deviceType != 0);
}

void DeviceLink::continueRunFrom(double seconds)
{
    std::lock_guard lock(pacingMutex_);
    pacer_.continueFrom(seconds, pacing_.deviceType != 0);
}

double DeviceLink::acquisitionTime() const
{
    std::lock_guard lock(pacingMutex_);
    return pacer_.elapsed(pacing_.deviceType != 0);
}

AcquisitionState DeviceLink::acquisition() const
{
    std::lock_guard lock(pacingMutex_);
    return pacer_.state();
}

void DeviceLink::shutdown()
{
    serialPort.shutdownQuietly();
}

void DeviceLink::setTrace(TrafficTrace *trace)
{
    trace_ = trace;
}

void DeviceLink::setSampling(bool continuous, int periodMs)
{
    std::lock_guard lock(pacingMutex_);
    pacing_.continuous = continuous;
    pacing_.periodMs = periodMs;
}

bool DeviceLink::continuousSampling() const
{
    std::lock_guard lock(pacingMutex_);
    return pacing_.continuous;
}

int DeviceLink::samplingPeriodMs() const
{
    std::lock_guard lock(pacingMutex_);
    return pacing_.periodMs;
}

void DeviceLink::pacingInputsChanged()
{
    std::lock_guard lock(pacingMutex_);
    pacing_.deviceType = device_.deviceType;
}

QString DeviceLink::deviceTypeName() const
{
    return modelName(device_.namedType).value_or(QStringLiteral("<nierozpoznane>"));
}

void DeviceLink::ApplicationIdle()
{
    bool send = false;
    {
        std::lock_guard lock(pacingMutex_);
        send = pacer_.idlePass(pacing_.continuous, pacing_.periodMs, pacing_.deviceType);
    }
    if (send)
        sender_.SendRead(kx::CMD_MEASURE);
}

double DeviceLink::paceArrival(const char *data, int size)
{
    bool send = false;
    double arrivedAt = 0;
    {
        std::lock_guard lock(pacingMutex_);
        arrivedAt = pacer_.elapsed(pacing_.deviceType != 0);
        if (holdsMeasurement(data, size))
            send = pacer_.frameHandled(pacing_.continuous, pacing_.periodMs, pacing_.deviceType);
    }
    // Behind whatever was queued while this frame came in, as the order on the line has it.
    if (send)
        sender_.SendRead(kx::CMD_MEASURE);
    return arrivedAt;
}

void DeviceLink::synchronise(const std::function<void()> &refreshPanel)
{
    if (reload_.running())
        return;
    const SyncTick tick = sync_.tick(device_, connection_.deviceFound, acquisition().GO, channels_);
    for (const SyncRequest &request : tick.requests) {
        if (request.write)
            sender_.SendWrite(request.cmd, request.data);
        else
            sender_.SendRead(request.cmd, request.data);
    }
    if (tick.refreshPanel) {
        refreshPanel();
        device_.panelRefreshPending = false;
    }
}

void DeviceLink::reloadTick()
{
    const SequenceTick tick = reload_.tick(device_, connection_);
    if (tick.request)
        sender_.SendRead(*tick.request);
    if (tick.showFailure) {
        // An instrument that stopped answering is read again by the next connection.
        reload_.abort();
        reloadTimer_->stop();
    } else if (tick.finished) {
        reloadTimer_->stop();
        emit parametersReloaded();
    }
}

void DeviceLink::OnPortEvent(Tserial_event *port, int event)
{
    if (!port)
        return;
    // Worker thread: copy and queue, never wait for the user-interface thread. Queued
    // calls keep arrival order.
    switch (event) {
    case Tserial_event::PortOpened:
    case Tserial_event::PortClosed: {
        // Read now: the port may be opened anew before the notification is handled.
        const bool lost = event == Tserial_event::PortClosed && port->endedByLoss();
        QMetaObject::invokeMethod(
            this, [this, event, lost] { portNotification(event, lost); }, Qt::QueuedConnection);
        break;
    }
    case Tserial_event::WriteDone: {
        const auto *block = reinterpret_cast<const uint8_t *>(port->txData());
        if (!RequestSender::traced(block, port->txSize()))
            break;
        const QByteArray sent(port->txData(), port->txSize());
        QMetaObject::invokeMethod(
            this, [this, sent] { traceSent(sent); }, Qt::QueuedConnection);
        break;
    }
    case Tserial_event::DataArrived: {
        const QByteArray burst(port->rxData(), port->rxSize());
        const double arrivedAt = paceArrival(port->rxData(), port->rxSize());
        QMetaObject::invokeMethod(
            this, [this, burst, arrivedAt] { HandleBurst(burst, arrivedAt); }, Qt::QueuedConnection);
        port->rxDone();
        break;
    }
    default:
        break;
    }
}

void DeviceLink::portNotification(int event, bool lost)
{
    if (event == Tserial_event::PortOpened) {
        connection_.portOpen = true;
        emit opened(std::exchange(quietPending_, false));
    } else {
        // Cleared before anyone is told: nothing may take the port for open any more.
        connection_.portOpen = false;
        emit closed(lost);
    }
}

void DeviceLink::HandleBurst(const QByteArray &burst, double arrivedAt)
{
    if (!connection_.portOpen)
        return;
    const auto *p = reinterpret_cast<const uint8_t *>(burst.constData());
    const auto n = size_t(burst.size());
    switch (routeBurst(p, n)) {
    case BurstRoute::Measurement:
        if (continuousSampling()) {
            if (const auto periodMs = samplePeriod_.frame(arrivedAt))
                emit samplePeriodMeasured(*periodMs);
        }
        HandleMeasurement(p, n, arrivedAt);
        break;
    case BurstRoute::Reply:
        HandleReply(p);
        break;
    case BurstRoute::Nothing:
        break;
    }
}

void DeviceLink::HandleReply(const uint8_t *p)
{
    const bool wasKnown = deviceTypeKnown();
    const ReplyEffect effect = HandleReplyFrame(p, device_, trace_);
    {
        // In one step: a pass between the two would count the time the instrument was unknown.
        std::lock_guard lock(pacingMutex_);
        pacing_.deviceType = device_.deviceType;
        // Pacing rests while the instrument is unknown, as when it is identified again during a run.
        if (!wasKnown && deviceTypeKnown())
            pacer_.deviceIdentified();
    }
    if (effect.kind == ReplyEffect::Dropped)
        return;
    if (effect.kind == ReplyEffect::CycleReset) {
        // Acknowledged: without this, a stopped acquisition or a mode without counters
        // would repeat the reset on every tick and crowd out every other request.
        sync_.cycleResetPending[effect.sensor] = false;
    } else if (effect.kind == ReplyEffect::Defaults && connection_.deviceFound) {
        // The panel must not keep showing the old values as confirmed.
        // The active sensor comes with the presence: ask for that too.
        ConnectionSequence::forgetParameters(device_);
        pacingInputsChanged();
        device_.Recv.presenceKnown = false;
        reload_.beginReload();
        reloadTimer_->start();
    }
    emit replyHandled(effect);
}

void DeviceLink::HandleMeasurement(const uint8_t *p, size_t n, double arrivedAt)
{
    const MeasurementResult result = decodeMeasurement(p, n, device_, channels_);
    if (!result.accepted)
        return;
    for (int i = 0; i < 3; ++i)
        if (result.presenceChanged & (1 << i))
            emit presenceChanged(i, device_.sensorPresent[i]);
    Sample sample;
    sample.time = arrivedAt;
    for (int i = 0; i < 3; ++i) {
        sample.value[i] = channels_.channelValue[i];
        sample.present[i] = device_.sensorPresent[i];
        sample.cycles[i] = channels_.cycleCount[i];
    }
    sample.pk1 = channels_.pk1State;
    sample.pk2 = channels_.pk2State;
    emit sampleDecoded(sample);
}
