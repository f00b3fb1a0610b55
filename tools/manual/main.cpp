// Writes the operator's manual as a PDF: a title page, the chapters of the program's help
// and the screenshots of its windows.
//   kx-manual <help.html> <output.pdf> [screenshot.png...]
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

namespace {

const QString kTitlePage = QStringLiteral(R"(
<p style="font-size: 150pt">&nbsp;</p>
<p align="center" style="font-size: 30pt; font-weight: bold">KX520S</p>
<p align="center" style="font-size: 20pt">Instrukcja obsługi</p>
<p align="center" style="font-size: 12pt">rev 1.0</p>
<p style="font-size: 30pt">&nbsp;</p>
<p align="center" style="font-size: 12pt; page-break-after: always">Przyrząd pomiarowy z programem KX520S-PC</p>
<h2>O instrukcji</h2>
<p>Instrukcja opisuje pracę z przyrządem KX520S za pomocą programu KX520S-PC: połączenie
z przyrządem, odczyt pomiarów, korekcje i ustawienia, wykres, rejestrację pomiarów i zapis
wyników. Nazwy w cudzysłowach są napisami widocznymi w oknach programu.</p>
)");

QString readHelpBody(const QString &path, QString *style)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString html = QString::fromUtf8(file.readAll());
    const auto dotAll = QRegularExpression::DotMatchesEverythingOption;
    *style = QRegularExpression(QStringLiteral("<style>(.*)</style>"), dotAll).match(html).captured(1);
    QString body = QRegularExpression(QStringLiteral("<body>(.*)</body>"), dotAll).match(html).captured(1);
    // The title page stands in for the help's own heading.
    body.remove(QRegularExpression(QStringLiteral("<h1>.*</h1>"), QRegularExpression::InvertedGreedinessOption));
    return body;
}

// Screenshots are shown at one scale, the main window filling the width of the text.
constexpr qreal kMainWindowWidth = 947;

QString screenshotsChapter(QTextDocument &document, const QStringList &pictures, qreal width)
{
    if (pictures.isEmpty())
        return {};
    QString chapter = QStringLiteral("<h2 class=\"newpage\">Widoki okien programu</h2>");
    int number = 0;
    for (const QString &path : pictures) {
        const QImage picture(path);
        if (picture.isNull())
            continue;
        const QUrl name(QStringLiteral("screenshot%1").arg(++number));
        document.addResource(QTextDocument::ImageResource, name, picture);
        const qreal shown = std::min<qreal>(width, picture.width() * width / kMainWindowWidth);
        chapter += QStringLiteral("<p align=\"center\"><img src=\"%1\" width=\"%2\"><br>Rys. %3. %4</p>")
                       .arg(name.toString())
                       .arg(int(shown))
                       .arg(number)
                       .arg(QFileInfo(path).completeBaseName().toHtmlEscaped());
    }
    return chapter;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: kx-manual <help.html> <output.pdf> [screenshot.png...]\n");
        return 2;
    }
    QString style;
    const QString help = readHelpBody(arguments[0], &style);
    if (help.isEmpty()) {
        std::fprintf(stderr, "kx-manual: cannot read the help from %s\n", qPrintable(arguments[0]));
        return 1;
    }

    QPdfWriter writer(arguments[1]);
    writer.setTitle(QStringLiteral("KX520S rev 1.0 – instrukcja obsługi"));
    writer.setCreator(QStringLiteral("KX520S-PC"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    document.setDefaultFont(font);
    // Printing lays the document out on the page with 2 cm margins on either side; pictures
    // are sized in pixels of 96 to the inch.
    const qreal textWidth = (writer.width() / qreal(writer.logicalDpiX()) - 2 * 2 / 2.54) * 96;
    const QString pictures = screenshotsChapter(document, arguments.mid(2), textWidth);
    document.setHtml(
        QStringLiteral("<html><head><style>%1</style></head><body>%2%3%4</body></html>")
            .arg(style + QStringLiteral(".newpage { page-break-before: always; }"), kTitlePage, help, pictures));
    document.print(&writer);
    if (QFileInfo(arguments[1]).size() == 0) {
        std::fprintf(stderr, "kx-manual: cannot write %s\n", qPrintable(arguments[1]));
        return 1;
    }
    return 0;
}
