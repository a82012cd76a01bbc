// Prints help documents written in HTML to PDF.
//   korvane_helpgen STYLE.css IN.html OUT.pdf [IN.html OUT.pdf ...]
// A document may pull in a shared section, with named values for its ${name} places:
//   <!--include getdrive.html wizard="Upload Wizard"-->
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <cstdio>

namespace {

QString readText(const QString& path, bool* ok)
{
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    return *ok ? QString::fromUtf8(f.readAll()) : QString();
}

// Sections shared by several documents, such as the Get Drive page that all
// three wizards open on, are written once.
bool expandIncludes(const QString& in, QString* html)
{
    static const QRegularExpression include(QStringLiteral(R"re(<!--include (\S+)((?: \w+="[^"]*")*)-->)re"));
    static const QRegularExpression value(QStringLiteral(R"re((\w+)="([^"]*)")re"));
    const QString folder = QFileInfo(in).absolutePath();
    QString result;
    qsizetype at = 0;
    for (auto m = include.globalMatch(*html); m.hasNext();) {
        const QRegularExpressionMatch hit = m.next();
        bool ok = false;
        QString part = readText(folder + QLatin1Char('/') + hit.captured(1), &ok);
        if (!ok) {
            std::fprintf(stderr, "helpgen: %s: cannot include %s\n", qPrintable(in), qPrintable(hit.captured(1)));
            return false;
        }
        for (auto v = value.globalMatch(hit.captured(2)); v.hasNext();) {
            const QRegularExpressionMatch kv = v.next();
            part.replace(QStringLiteral("${") + kv.captured(1) + QLatin1Char('}'), kv.captured(2));
        }
        if (part.contains(QStringLiteral("${"))) {
            std::fprintf(stderr, "helpgen: %s: a value for %s is missing\n", qPrintable(in), qPrintable(hit.captured(1)));
            return false;
        }
        result += html->mid(at, hit.capturedStart() - at) + part;
        at = hit.capturedEnd();
    }
    *html = result + html->mid(at);
    return true;
}

bool print(const QString& css, const QString& in, const QString& out)
{
    bool ok = false;
    QString html = readText(in, &ok);
    if (!ok) {
        std::fprintf(stderr, "helpgen: cannot read %s\n", qPrintable(in));
        return false;
    }
    if (!expandIncludes(in, &html))
        return false;
    QTextDocument doc;
    doc.setDefaultStyleSheet(css);
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    doc.setHtml(html);

    // Written beside the target and renamed, so a failed run leaves no half document.
    const QString partial = out + QStringLiteral(".part");
    {
        QPdfWriter pdf(partial);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(18, 16, 18, 16), QPageLayout::Millimeter));
        pdf.setResolution(300);
        pdf.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
        pdf.setCreator(QStringLiteral("Korvane 2.1"));
        // No page size on the document: print() then paginates and numbers the pages.
        doc.print(&pdf);
    }
    if (QFileInfo(partial).size() == 0) {
        std::fprintf(stderr, "helpgen: nothing written for %s\n", qPrintable(out));
        QFile::remove(partial);
        return false;
    }
    QFile::remove(out);
    if (!QFile::rename(partial, out)) {
        std::fprintf(stderr, "helpgen: cannot write %s\n", qPrintable(out));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    // A build step: never needs, or touches, a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid()) {
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() < 4 || (args.size() - 2) % 2 != 0) {
        std::fprintf(stderr, "usage: korvane_helpgen STYLE.css IN.html OUT.pdf [IN.html OUT.pdf ...]\n");
        return 2;
    }
    bool ok = false;
    const QString css = readText(args.at(1), &ok);
    if (!ok) {
        std::fprintf(stderr, "helpgen: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (!print(css, args.at(i), args.at(i + 1)))
            return 1;
    }
    return 0;
}
