#include "ScopeFixture.h"

#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

namespace kavlon {
namespace {

using namespace test;

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The extent of everything dark on a rendered page: the renderer smooths the
// stretched picture's edges, and half way between black and white is its edge.
QRect inkedArea(const QImage& page) {
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(line[x]) >= 128)
                continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

class PrintPage : public ScopeWindow {};

// The picture goes on a landscape letter page at 300 dpi, stretched into
// (165, 128) to (3135, 2422); the page is rendered back by another program.
TEST_F(PrintPage, StretchesThePictureIntoTheLandscapePageLessATwentieth) {
    dataWithShot(InstrumentShot{});
    TMDIChild_Scope* scope = newScope();
    choose(scope, "Data00");
    form.QuickPrintOptions.PrintAs = 0;
    scope->PrintBtn->click();
    ASSERT_TRUE(bench.dialogs.errors.empty());
    const QString pdf = bench.folder.filePath("printed.pdf");
    ASSERT_TRUE(QFile::exists(pdf));

    const QString info = run("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+792 x 612 pts"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\b"))) << info.toStdString();

    const QString prefix = bench.folder.filePath("page");
    run("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, prefix});
    const QImage page = QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(page.size(), QSize(3300, 2550));

    // Nothing lies outside the page's rectangle; the screen (picture columns 0 to
    // 613, the window's grey in the last, rows 30 to 416) is stretched into it by
    // 2970 / 614 and 2294 / 447.
    const double sx = (3135 - 165) / 614.0, sy = (2422 - 128) / 447.0;
    const QRect ink = inkedArea(page);
    EXPECT_NEAR(ink.left(), 165, 2);
    EXPECT_NEAR(ink.right() + 1, 165 + 614 * sx, 3);
    EXPECT_GE(ink.top(), 128);
    EXPECT_LE(ink.bottom() + 1, 2422);
    // Down picture column 5, left of every text: dark exactly where the screen is.
    const int x = int(165 + 5.5 * sx);
    int first = -1, last = -1;
    for (int y = 0; y < page.height(); ++y)
        if (qGray(page.pixel(x, y)) < 128) {
            first = first < 0 ? y : first;
            last = y;
        }
    EXPECT_NEAR(first, 128 + 30 * sy, 3);
    EXPECT_NEAR(last + 1, 128 + 417 * sy, 3);
}

TEST_F(PrintPage, APrinterThatCannotStartShowsWhyAndPrintsNothing) {
    struct Case {
        const char* name;
        QtPicturePrinter::Setup setup;
    };
    const Case cases[] = {
        {"a file in a missing folder", letterPdf(bench.folder.filePath("missing/printed.pdf"))},
        {"no printer at all",
         [](QPrinter& p) { p.setOutputFormat(QPrinter::PdfFormat), p.setOutputFileName({}); }},
    };
    TMDIChild_Scope* scope = newScope();
    form.QuickPrintOptions.PrintAs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QtPicturePrinter printer(c.setup);
        form.setPrinter(&printer);
        bench.dialogs.errors.clear();
        bench.dialogs.errorDetails.clear();
        scope->PrintBtn->click();
        ASSERT_EQ(bench.dialogs.errors.size(), 1u);
        EXPECT_FALSE(bench.dialogs.errorDetails[0].isEmpty());
        form.setPrinter(&bench.printer);
    }
    EXPECT_FALSE(QFile::exists(bench.folder.filePath("missing")));
}

} // namespace
} // namespace kavlon
