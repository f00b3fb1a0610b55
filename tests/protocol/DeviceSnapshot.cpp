#include "DeviceSnapshot.h"

namespace {

void addParams(QMap<QString, QString> &m, const QString &prefix, const DeviceParams &p)
{
    m[prefix + "PK1"] = QString::number(p.PK1);
    m[prefix + "PK2"] = QString::number(p.PK2);
    m[prefix + "Q_NR"] = QString::number(p.Q_NR);
    for (int i = 0; i < 3; ++i) {
        m[prefix + QString("UZP[%1]").arg(i)] = QString::number(p.UZP[i], 'g', 9);
        m[prefix + QString("Offset[%1]").arg(i)] = QString::number(p.Offset[i], 'g', 9);
        m[prefix + QString("COEF[%1]").arg(i)] = QString::number(p.COEF[i], 'g', 9);
        m[prefix + QString("Res[%1]").arg(i)] = QString::number(p.Res[i], 'g', 9);
    }
    m[prefix + "LED"] = QString::number(p.LED);
    m[prefix + "decp"] = QString::number(p.decp);
    m[prefix + "Beep"] = QString::number(p.Beep);
    m[prefix + "mode"] = QString::number(p.mode);
    m[prefix + "OnTime"] = QString::number(p.OnTime);
}

void addFlags(QMap<QString, QString> &m, const ParamFlags &f)
{
    const auto put = [&m](const QString &name, bool value) { m["Recv." + name] = QString::number(value); };
    put("PK1", f.PK1);
    put("PK2", f.PK2);
    for (int i = 0; i < 3; ++i) {
        put(QString("UZP[%1]").arg(i), f.UZP[i]);
        put(QString("Offset[%1]").arg(i), f.Offset[i]);
        put(QString("COEF[%1]").arg(i), f.COEF[i]);
        put(QString("Res[%1]").arg(i), f.Res[i]);
    }
    put("LED", f.LED);
    put("decp", f.decp);
    put("Beep", f.Beep);
    put("mode", f.mode);
    put("OnTime", f.OnTime);
    put("presenceKnown", f.presenceKnown);
}

} // namespace

QMap<QString, QString> snapshot(const DeviceState &s)
{
    QMap<QString, QString> m;
    addParams(m, "Set.", s.Set);
    addParams(m, "Stan.", s.Stan);
    addFlags(m, s.Recv);
    m["deviceType"] = QString::number(s.deviceType);
    m["swVersion"] = QString::number(s.swVersion);
    m["hwVersion"] = QString::number(s.hwVersion);
    for (int i = 0; i < 3; ++i)
        m[QString("sensorPresent[%1]").arg(i)] = QString::number(s.sensorPresent[i]);
    m["sensorCount"] = QString::number(s.sensorCount);
    m["panelRefreshPending"] = QString::number(s.panelRefreshPending);
    return m;
}

QStringList changes(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList out;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (before.value(it.key()) != it.value())
            out.append(it.key() + "=" + it.value());
    out.sort();
    return out;
}
