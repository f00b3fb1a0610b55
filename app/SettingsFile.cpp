#include "SettingsFile.h"

#include "Windows1250.h"

#include <QIODevice>
#include <QStringDecoder>
#include <algorithm>
#include <limits>
#include <type_traits>

namespace {

// The separators of the C runtime's word reading, which wrote the files this reads.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

class Tokens {
public:
    explicit Tokens(QString text) : text_(std::move(text)) {}

    std::optional<QString> word()
    {
        skipBlanks();
        const qsizetype start = pos_;
        while (pos_ < text_.size() && !isBlank(text_[pos_]))
            ++pos_;
        if (pos_ == start)
            return std::nullopt;
        return text_.mid(start, pos_ - start);
    }

    /// A signed decimal integer; reading stops at the first character that can't continue
    /// it, so "12abc" gives 12 and leaves "abc" for the next read.
    std::optional<int> number()
    {
        skipBlanks();
        qsizetype pos = pos_;
        const bool negative = pos < text_.size() && text_[pos] == u'-';
        if (pos < text_.size() && (text_[pos] == u'-' || text_[pos] == u'+'))
            ++pos;
        const qsizetype digitsStart = pos;
        long long value = 0;
        while (pos < text_.size() && text_[pos] >= u'0' && text_[pos] <= u'9') {
            value = value * 10 + (text_[pos].unicode() - u'0');
            if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
                return std::nullopt;
            ++pos;
        }
        if (pos == digitsStart)
            return std::nullopt;
        value = negative ? -value : value;
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
        pos_ = pos;
        return static_cast<int>(value);
    }

private:
    void skipBlanks()
    {
        while (pos_ < text_.size() && isBlank(text_[pos_]))
            ++pos_;
    }

    QString text_;
    qsizetype pos_ = 0;
};

// The file's 29 lines in order, each as its key and the setting it carries; reading and
// writing both walk this one list, so the two cannot drift apart.
template <typename S, typename Visit> void forEachLine(S &s, Visit &&visit)
{
    visit("Cz_0= ", s.channelActive[0]);
    visit("Cz_1= ", s.channelActive[1]);
    visit("Cz_2= ", s.channelActive[2]);
    visit("Real_Time_Sample= ", s.sampling.continuous);
    visit("Sample_rate= ", s.sampling.periodMs);
    visit("Paging= ", s.paging.enabled);
    visit("Paging_tracking= ", s.paging.followLastPage);
    visit("Sample_per_page= ", s.paging.pointsPerPage);
    visit("Autorejestracja= ", s.registration.autoRegister);
    visit("Rejestracja_Cz0= ", s.registration.channel[0]);
    visit("Rejestracja_Cz1= ", s.registration.channel[1]);
    visit("Rejestracja_Cz2= ", s.registration.channel[2]);
    visit("Rejestracja_PK1= ", s.registration.pk1);
    visit("Rejestracja_PK2= ", s.registration.pk2);
    visit("Rejestracja_data= ", s.registration.date);
    visit("Rejestracja_godz= ", s.registration.timeOfDay);
    visit("Rejestracja_czas= ", s.registration.measurementTime);
    // The same box once more under a repeated key; older files depend on this layout.
    visit("Rejestracja_data= ", s.registration.measurementTime);
    visit("Rejestracja_index= ", s.registration.index);
    visit("Rejestracja_kolor= ", s.registration.colour);
    visit("domyslny_port_com= ", s.portName);
    for (int line = 0; line < 4; ++line) {
        const QByteArray pk = "Wykres_PK" + QByteArray::number(line + 1);
        visit(pk + "_H= ", s.pkLineH[line]);
        visit(pk + "_F= ", s.pkLineF[line]);
    }
}

QString decodeWindows1250(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.isValid() ? QString(decoder(bytes)) : QString::fromLatin1(bytes);
}

} // namespace

Settings readSettings(const QByteArray &fileContents)
{
    Tokens tokens(decodeWindows1250(fileContents));
    Settings settings;
    std::optional<int> holder; // one holder for every number: a failed read leaves it as it was
    bool failed = false;
    forEachLine(settings, [&](const QByteArray &, auto &field) {
        failed = failed || !tokens.word(); // the key
        using Field = std::remove_reference_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, QString>) {
            const auto word = failed ? std::nullopt : tokens.word();
            failed = !word;
            field = word.value_or(QString());
        } else {
            if (!failed) {
                const auto number = tokens.number();
                failed = !number;
                holder = number ? number : holder;
            }
            // Check boxes take "not 0"; the per-page value takes the low 16 bits as signed.
            if (holder)
                field = static_cast<typename Field::value_type>(*holder);
        }
    });
    if (settings.sampling.periodMs)
        settings.sampling.periodMs =
            std::clamp(*settings.sampling.periodMs, Settings::kMinPeriodMs, Settings::kMaxPeriodMs);
    return settings;
}

QByteArray writeSettings(const Settings &settings)
{
    QByteArray out;
    forEachLine(settings, [&out](const QByteArray &key, const auto &field) {
        out += key;
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(field)>, QString>)
            out += toWindows1250(portNameOrDefault(field));
        else
            out += QByteArray::number(static_cast<int>(field.value_or(0)));
        out += "\r\n";
    });
    return out;
}

QString portNameOrDefault(const QString &name)
{
    // An empty or split name would make the reader take the next key as the port and
    // shift every later value by one word.
    if (name.isEmpty() || std::any_of(name.begin(), name.end(), isBlank))
        return QStringLiteral("COM1");
    return name;
}

SaveResult saveSettings(const QString &path, const Settings &settings)
{
    const QByteArray bytes = writeSettings(settings);
    return saveFile(path, [&bytes](QIODevice &out, QString &) { return out.write(bytes) == bytes.size(); });
}
