#include "Windows1250.h"

#include <QStringEncoder>

QByteArray toWindows1250(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    // Encoded per code point, because the encoder's own replacement for an
    // unmappable character is not guaranteed to be '?' on every ICU build.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray bytes = encoder.encode(QStringView(text).mid(i, width));
        if (encoder.hasError() || bytes.size() != 1) {
            out.append('?');
            // The error stays with the encoder, so the rest needs a fresh one.
            encoder = QStringEncoder("windows-1250", QStringConverter::Flag::Stateless);
        } else {
            out.append(bytes);
        }
        i += width;
    }
    return out;
}
