#include "Registration.h"

RegisterRow registerRow(const RegisterSample &sample, const RegisterChoice &choice)
{
    RegisterRow row;
    auto set = [&row](bool on, quint16 flag) {
        if (on)
            row.flags |= flag;
    };
    set(choice.sampleNumber, RegisterRow::SampleNumber);
    set(choice.date, RegisterRow::Date);
    set(choice.time, RegisterRow::Time);
    set(choice.measTime, RegisterRow::MeasTime);
    set(choice.pk1, RegisterRow::Pk1);
    set(choice.pk2, RegisterRow::Pk2);
    set(choice.pk1 && sample.pk1State, RegisterRow::Pk1On);
    set(choice.pk2 && sample.pk2State, RegisterRow::Pk2On);
    row.measTime = sample.measTime;
    for (int k = 0; k < 3; ++k) {
        if (!choice.channel[k])
            continue;
        row.flags |= quint16(RegisterRow::Channel0 << k);
        if (sample.active[k] && sample.shown[k]) {
            row.flags |= quint16(RegisterRow::Reading0 << k);
            row.value[k] = *sample.shown[k];
        }
    }
    if (choice.date || choice.time)
        row.localMs = QDateTime(sample.now.date(), sample.now.time(), Qt::UTC).toMSecsSinceEpoch();
    return row;
}
