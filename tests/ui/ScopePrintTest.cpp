#include "ScopeFixture.h"

#include "ui/DateTimeText.h"
#include "ui/picture/PictureEncoding.h"

#include "core/picture/PictureLayout.h"
#include "core/scope/ScopeDrawing.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimeZone>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <set>
#include <sys/resource.h>

namespace kavlon {
namespace {

using namespace test;

// Decodes an image file with a decoder that shares no code with the program's
// (PIL), so a file the program misreads the same way it wrote it still fails.
QImage decodeIndependently(const QString& path) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1]).convert('RGB')\n"
                  "sys.stdout.buffer.write(b'%d %d\\n' % im.size + im.tobytes())",
                  path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {};
    const QByteArray out = python.readAllStandardOutput();
    const qsizetype newline = out.indexOf('\n');
    const QList<QByteArray> size = out.left(newline).split(' ');
    const int width = size.value(0).toInt(), height = size.value(1).toInt();
    if (out.size() - newline - 1 != qsizetype(width) * height * 3)
        return {};
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), out.constData() + newline + 1 + qsizetype(y) * width * 3,
                    size_t(width) * 3);
    return image.convertToFormat(QImage::Format_RGB32);
}

int largestChannelDifference(QRgb a, QRgb b) {
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

class ScopePrint : public ScopeWindow {
protected:
    // A Scope showing a four-channel shot with everything on screen.
    TMDIChild_Scope* scopeWithShot() {
        dataWithShot(InstrumentShot{});
        TMDIChild_Scope* scope = newScope();
        choose(scope, "Data00");
        scope->CursorHCkB->setChecked(true);
        return scope;
    }
    void clickPrint(TMDIChild_Scope* scope, int printAs) {
        form.QuickPrintOptions.PrintAs = printAs;
        scope->PrintBtn->click();
    }
    QString images() const { return QDir(form.ProgramDirectory).filePath("images"); }
};

TEST_F(ScopePrint, SavesThePictureAsBmpOrJpegThatAnotherDecoderReadsBack) {
    struct Case {
        int printAs;
        const char* name;
        const char* suffix;
        QStringList filters;
        int tolerance;     // largest channel difference a pixel may show
        int meanTolerance; // in hundredths, over all channels of all pixels
    };
    const Case cases[] = {
        {1, "QV_00000.bmp", "bmp", {"Bitmap-Grafikdatei (*.bmp)"}, 0, 0},
        {2, "QV_00000.jpg", "jpg", {"JPEG-Grafikdatei (*.jpg)", "JPEG-Grafikdatei (*.jpeg)"}, 96, 150},
    };
    TMDIChild_Scope* scope = scopeWithShot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bench.dialogs.saveRequests.clear();
        bench.dialogs.fileToSave = QDir(images()).filePath(c.name);
        clickPrint(scope, c.printAs);

        ASSERT_EQ(bench.dialogs.saveRequests.size(), 1u);
        const SaveFileRequest& asked = bench.dialogs.saveRequests[0];
        EXPECT_EQ(QDir(asked.folder), QDir(images()));
        EXPECT_TRUE(QFileInfo(asked.folder).isDir());
        EXPECT_EQ(asked.proposedName, c.name);
        EXPECT_EQ(asked.defaultSuffix, c.suffix);
        EXPECT_EQ(asked.filters, c.filters);
        EXPECT_TRUE(bench.dialogs.errors.empty());

        const QImage read = decodeIndependently(bench.dialogs.fileToSave);
        ASSERT_EQ(read.size(), QSize(614, 447));
        const QImage& picture = scope->Picture;
        long long total = 0;
        int worst = 0;
        for (int y = 0; y < 447; ++y)
            for (int x = 0; x < 614; ++x) {
                const int d = largestChannelDifference(read.pixel(x, y), picture.pixel(x, y));
                worst = std::max(worst, d);
                total += d;
            }
        EXPECT_LE(worst, c.tolerance);
        EXPECT_LE(total * 100 / (614 * 447), c.meanTolerance);
    }
    // The next picture of a kind is proposed under the next free number.
    clickPrint(scope, 1);
    EXPECT_EQ(bench.dialogs.saveRequests.back().proposedName, "QV_00001.bmp");
}

TEST_F(ScopePrint, PutsTheScreenAtRow30AndTheTextsInTheirColumns) {
    TMDIChild_Scope* scope = scopeWithShot();
    bench.dialogs.fileToSave.clear();
    clickPrint(scope, 1);
    const QImage& picture = scope->Picture;
    const QImage screen = painted(scope);
    ASSERT_EQ(picture.size(), QSize(614, 447));
    // The screen's whole rectangle, the window's grey of its last column included.
    for (int y = 0; y < 387; ++y)
        for (int x = 0; x < 614; ++x)
            ASSERT_EQ(colour(picture, x, y + 30), colour(screen, x, y)) << x << ", " << y;
    for (int y = 30; y < 417; ++y)
        ASSERT_EQ(colour(picture, 613, y), kScopeWindowColour) << y;

    // Each text band: where ink may start, and the first column it must reach by.
    struct Band {
        int top, bottom;
        std::vector<int> columns;
    };
    const Band bands[] = {{0, 15, {30}},
                          {15, 30, {30, 170, 310}},
                          {417, 431, {30, 170, 310, 450}},
                          {431, 447, {30, 170, 310, 450}}};
    for (const Band& band : bands) {
        SCOPED_TRACE(band.top);
        std::vector<bool> inked(614, false);
        for (int y = band.top; y < band.bottom; ++y)
            for (int x = 0; x < 614; ++x)
                if (colour(picture, x, y) != kWhite)
                    inked[std::size_t(x)] = true;
        // Nothing left of the first column; each text starts within a few pixels of its column.
        for (int x = 0; x < band.columns.front(); ++x)
            EXPECT_FALSE(inked[std::size_t(x)]) << x;
        for (int column : band.columns) {
            const bool starts =
                std::any_of(inked.begin() + column, inked.begin() + column + 6, [](bool b) { return b; });
            EXPECT_TRUE(starts) << column;
            EXPECT_FALSE(inked[std::size_t(column - 2)]) << column;
        }
    }
}

TEST_F(ScopePrint, ColorOffGivesBlackOnWhiteAndColorOnKeepsTheTraces) {
    struct Case {
        bool colour;
        bool invert;
        std::set<QRgb> expected;
    };
    // The window's grey shows only in the screen's last column, as on the screen.
    const QRgb grey = kScopeWindowColour;
    const Case cases[] = {
        {false, false, {kBlack, kWhite, grey}},
        {true, false, {kBlack, kWhite, grey, kYellow, kGreen, kBlue, kRed, 0xFF8000}},
        {true, true, {kBlack, kWhite, grey, kYellow, kGreen, kBlue, kRed, 0xFF8000}},
    };
    TMDIChild_Scope* scope = scopeWithShot();
    bench.dialogs.fileToSave.clear();
    for (const Case& c : cases) {
        scope->ColorCkB->setChecked(c.colour);
        scope->InvertCkB->setChecked(c.invert);
        clickPrint(scope, 1);
        std::set<QRgb> found;
        for (int y = 0; y < 447; ++y)
            for (int x = 0; x < 614; ++x) {
                found.insert(colour(scope->Picture, x, y));
                if (colour(scope->Picture, x, y) == grey) {
                    ASSERT_EQ(x, 613) << y;
                }
            }
        EXPECT_EQ(found, c.expected) << c.colour << c.invert;
    }
}

TEST_F(ScopePrint, ACancelledDialogWritesNothingAndSaysNothing) {
    TMDIChild_Scope* scope = scopeWithShot();
    for (int printAs : {1, 2}) {
        bench.dialogs.fileToSave.clear();
        clickPrint(scope, printAs);
        EXPECT_EQ(bench.dialogs.saveRequests.size(), std::size_t(printAs));
    }
    EXPECT_EQ(filesIn(images()), QStringList());
    EXPECT_TRUE(bench.dialogs.errors.empty());
    EXPECT_FALSE(QFile::exists(bench.folder.filePath("printed.pdf")));
}

TEST_F(ScopePrint, AnUnwritableTargetLeavesNoFileAndShowsThePlatformsReason) {
    TMDIChild_Scope* scope = scopeWithShot();
    QFile plain(bench.folder.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    struct Case {
        QString target;
        const char* reason;
    };
    const Case cases[] = {
        {bench.folder.filePath("missing/picture.bmp"), "No such file or directory"},
        {bench.folder.filePath("plain/picture.bmp"), "Not a directory"},
        {bench.folder.path(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        bench.dialogs.errors.clear();
        bench.dialogs.errorDetails.clear();
        bench.dialogs.fileToSave = c.target;
        clickPrint(scope, 1);
        ASSERT_EQ(bench.dialogs.errors.size(), 1u);
        EXPECT_TRUE(bench.dialogs.errors[0].contains(QDir::toNativeSeparators(c.target)));
        EXPECT_FALSE(bench.dialogs.errorDetails[0].isEmpty());
        EXPECT_TRUE(bench.dialogs.errorDetails[0].contains(c.reason))
            << bench.dialogs.errorDetails[0].toStdString();
    }
    EXPECT_EQ(filesIn(bench.folder.path()), QStringList{"plain"});
    EXPECT_FALSE(QFile::exists(bench.folder.filePath("missing")));
}

// The disk fills up while the picture is written: the earlier file under the
// name stays as it was and nothing half written is left beside it.
TEST_F(ScopePrint, AFullDiskKeepsTheEarlierFileWhole) {
    TMDIChild_Scope* scope = scopeWithShot();
    QDir().mkpath(images());
    const QString target = QDir(images()).filePath("earlier.bmp");
    QFile earlier(target);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("the earlier picture");
    earlier.close();

    bench.dialogs.fileToSave = target;
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    clickPrint(scope, 1);
    ::setrlimit(RLIMIT_FSIZE, &before);

    ASSERT_EQ(bench.dialogs.errors.size(), 1u);
    EXPECT_TRUE(bench.dialogs.errorDetails[0].contains("too large"))
        << bench.dialogs.errorDetails[0].toStdString();
    EXPECT_EQ(filesIn(images()), QStringList{"earlier.bmp"});
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "the earlier picture");
}

TEST_F(ScopePrint, TheQuickPrintsKindIsKeptAndAKindThatIsNoneDoesNothing) {
    TMDIChild_Scope* scope = scopeWithShot();
    form.QuickPrintOptions.PrintAs = 1;
    // The quick print sets the kind itself; the settings say BMP.
    scope->state.PrintKind = 2;
    scope->PrintBtnClick();
    ASSERT_EQ(bench.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(bench.dialogs.saveRequests[0].defaultSuffix, "jpg");
    EXPECT_EQ(scope->state.PrintKind, 2);

    scope->state.PrintKind = 3;
    scope->Picture = QImage();
    scope->PrintBtnClick();
    EXPECT_EQ(scope->Picture.size(), QSize(614, 447));
    EXPECT_EQ(bench.dialogs.saveRequests.size(), 1u);
    EXPECT_FALSE(QFile::exists(bench.folder.filePath("printed.pdf")));
    EXPECT_TRUE(bench.dialogs.errors.empty());
}

// A picture's header and a sheet stamp a moment alike: the locale's short date and long
// time, without the zone that the long time of some locales carries.
TEST(StampedMoment, TheLocalesShortDateAndLongTimeWithoutTheZone) {
    const QDateTime moment(QDate(2026, 1, 2), QTime(7, 40, 10), QTimeZone::utc());
    struct Case {
        const char* locale;
        const char* start;
        const char* end; // the blank before AM is not the same in every Qt's locale data
    };
    const Case cases[] = {
        {"en_US", "1/2/26 7:40:10", "AM"},
        {"de_DE", "02.01.26 07:40:10", ""},
        {"en_GB", "02/01/2026 07:40:10", ""},
    };
    for (const Case& c : cases) {
        const QLocale locale(c.locale);
        EXPECT_TRUE(locale.timeFormat(QLocale::LongFormat).contains('t'))
            << c.locale << ": a zone to leave out";
        const QString text = localDateTimeText(moment, locale);
        EXPECT_TRUE(text.startsWith(c.start) && text.endsWith(c.end)) << text.toStdString();
        EXPECT_LE(text.size(), qsizetype(std::strlen(c.start) + std::strlen(c.end) + 1))
            << text.toStdString();
    }
}

// libjpeg ends the program on an error unless told otherwise: a picture it
// refuses must come back as its message.
TEST(JpegEncoding, APictureTheLibraryRefusesGivesItsMessageAndNoBytes) {
    struct Case {
        QImage picture;
        const char* words;
    };
    const Case cases[] = {
        {QImage(), "Empty JPEG image"},
        {QImage(70000, 1, QImage::Format_RGB32), "Maximum supported image dimension is 65500 pixels"},
    };
    for (const Case& c : cases) {
        const EncodedPicture encoded = encodeJpeg(c.picture);
        EXPECT_TRUE(encoded.bytes.isEmpty());
        EXPECT_TRUE(encoded.error.contains(c.words)) << encoded.error.toStdString();
    }
}

} // namespace
} // namespace kavlon
