#include "SettingsFile.h"

#include <QStringDecoder>

namespace {

class Words {
public:
    explicit Words(QString text) : text_(std::move(text)) {}

    std::optional<QString> next()
    {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        if (pos_ >= text_.size())
            return std::nullopt;
        const qsizetype start = pos_;
        while (pos_ < text_.size() && !text_[pos_].isSpace())
            ++pos_;
        return text_.mid(start, pos_ - start);
    }

private:
    QString text_;
    qsizetype pos_ = 0;
};

} // namespace

ConfigValues readConfigValues(const QByteArray &fileContents)
{
    QStringDecoder decoder("windows-1250");
    Words words(decoder.isValid() ? QString(decoder(fileContents)) : QString::fromLatin1(fileContents));
    ConfigValues values;
    std::optional<int> holder; // the one value holder that a failed read leaves as it was
    bool failed = false;
    for (int line = 1; line <= ConfigValues::kLines; ++line) {
        if (!failed && !words.next())
            failed = true;
        if (line == ConfigValues::kPortLine) {
            const auto port = failed ? std::nullopt : words.next();
            failed = failed || !port;
            values.port = port.value_or(QString());
            continue;
        }
        if (!failed) {
            bool ok = false;
            const auto word = words.next();
            const int number = word ? word->toInt(&ok) : 0;
            if (ok)
                holder = number;
            else
                failed = true;
        }
        values.number[line] = holder;
    }
    return values;
}
