// lindenfold-skingen: draws the built-in theme artwork of Lindenfold.
//
//   lindenfold-skingen --out DIR
//       writes DIR/themes/<theme>-<element>@2x.png (22 themes x 16 elements) and
//       DIR/fallback/mini-graphite-<element>.png (the 16 fallback images)
//   lindenfold-skingen --contact-sheet FILE [--from DIR]
//       writes the contact sheet of all themes; with --from it composes the PNG files found
//       in DIR/themes (what is committed), otherwise freshly drawn images
//
// Both options may be given together. Drawing is pure vector QPainter work; the offscreen
// platform is used only for the fonts of the contact sheet.
#include "skinart.h"

#include <QDir>
#include <QGuiApplication>
#include <QHash>
#include <QImageWriter>

#include <cstdio>

namespace {

QString gFromDir;

QImage freshImage(const QString& theme, const QString& element)
{
    static QHash<QString, QImage> cache;
    const QString key = theme + "/" + element;
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    QImage img = skingen::renderElement(theme, element);
    cache.insert(key, img);
    return img;
}

QImage fileImage(const QString& theme, const QString& element)
{
    return QImage(gFromDir + "/themes/" + theme + "-" + element + "@2x.png");
}

bool writePng(const QImage& img, const QString& path)
{
    QImageWriter w(path, "png");
    w.setQuality(0); // maximum zlib compression
    if (!w.write(skingen::quantizeForPng(img))) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(w.errorString()));
        return false;
    }
    return true;
}

int usage()
{
    std::fprintf(stderr, "usage: lindenfold-skingen [--out DIR] [--contact-sheet FILE [--from DIR]]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString outDir, sheetFile;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size()) return usage();
        if (a == "--out") outDir = args[++i];
        else if (a == "--contact-sheet") sheetFile = args[++i];
        else if (a == "--from") gFromDir = args[++i];
        else return usage();
    }
    if (outDir.isEmpty() && sheetFile.isEmpty()) return usage();

    if (!outDir.isEmpty()) {
        const QDir out(outDir);
        if (!out.mkpath("themes") || !out.mkpath("fallback")) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(outDir));
            return 1;
        }
        int written = 0;
        for (const QString& theme : skingen::themeNames()) {
            for (const QString& element : skingen::elements()) {
                const QImage img = freshImage(theme, element);
                if (!writePng(img, out.filePath("themes/" + theme + "-" + element + "@2x.png")))
                    return 1;
                ++written;
                if (theme == "mini-graphite" &&
                    !writePng(img, out.filePath("fallback/mini-graphite-" + element + ".png")))
                    return 1;
            }
        }
        std::printf("wrote %d theme images and %d fallback images to %s\n", written,
                    int(skingen::elements().size()), qPrintable(out.absolutePath()));
    }
    if (!sheetFile.isEmpty()) {
        const QImage sheet =
            skingen::renderContactSheet(gFromDir.isEmpty() ? freshImage : fileImage);
        if (!writePng(sheet, sheetFile)) return 1;
        std::printf("wrote %s\n", qPrintable(sheetFile));
    }
    return 0;
}
