#include "ui/window/commandids.h"
#include "ui/window/toolbaricons.h"

#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

namespace {

// The toolbar's commands, in the toolbar's order.
constexpr int kToolbar[] = {ID_SAVE,         ID_OPEN,      ID_FILE_PRINT,
                            ID_SELECT_COM,   ID_ON_OFF,    ID_UNDO_ZOOM,
                            ID_CLEAR_SCREEN, ID_CLEAR_ALL, ID_HELP_CONTENTS};

struct Coverage {
    int opaque = 0;      // alpha above half
    int transparent = 0; // alpha 0
    int colours = 0;     // distinct colours among the opaque pixels
};

Coverage coverage(const QImage& image) {
    Coverage c;
    std::set<QRgb> colours;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = argb.pixel(x, y);
            if (qAlpha(px) > 128) {
                ++c.opaque;
                colours.insert(px);
            } else if (qAlpha(px) == 0) {
                ++c.transparent;
            }
        }
    c.colours = static_cast<int>(colours.size());
    return c;
}

// Mean difference per channel (0..255) of two images of one size, each pixel
// taken as drawn over a light toolbar.
double difference(const QImage& a, const QImage& b) {
    EXPECT_EQ(a.size(), b.size());
    const auto onToolbar = [](const QImage& image) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(QColor(239, 239, 239));
        QPainter(&flat).drawImage(0, 0, image);
        return flat;
    };
    const QImage fa = onToolbar(a), fb = onToolbar(b);
    double sum = 0;
    for (int y = 0; y < fa.height(); ++y)
        for (int x = 0; x < fa.width(); ++x) {
            const QRgb pa = fa.pixel(x, y), pb = fb.pixel(x, y);
            sum += std::abs(qRed(pa) - qRed(pb)) + std::abs(qGreen(pa) - qGreen(pb)) +
                   std::abs(qBlue(pa) - qBlue(pb));
        }
    return sum / (3.0 * fa.width() * fa.height());
}

TEST(ToolbarIcons, EveryButtonHasAFilledPictureOfToolbarSize) {
    for (const int id : kToolbar) {
        SCOPED_TRACE(id);
        const QImage image = toolbarIconImage(id);
        ASSERT_EQ(image.size(), QSize(32, 22));
        const Coverage c = coverage(image);
        // Legible: a good part of the button is drawn, in several colours, on
        // a transparent ground that lets the toolbar show through.
        EXPECT_GE(c.opaque, 32 * 22 / 5);
        EXPECT_GE(c.colours, 3);
        EXPECT_GE(c.transparent, 32 * 22 / 10);

        const QIcon icon = toolbarIcon(id);
        ASSERT_FALSE(icon.isNull());
        const QPixmap pixmap = icon.pixmap(kToolbarIconSize, 1.0);
        EXPECT_EQ(pixmap.size(), QSize(32, 22));
        EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32),
                  image.convertToFormat(QImage::Format_ARGB32));
    }
}

TEST(ToolbarIcons, PicturesAreDistinct) {
    for (std::size_t i = 0; i < std::size(kToolbar); ++i)
        for (std::size_t j = i + 1; j < std::size(kToolbar); ++j)
            EXPECT_GT(difference(toolbarIconImage(kToolbar[i]), toolbarIconImage(kToolbar[j])),
                      12.0)
                << kToolbar[i] << " and " << kToolbar[j] << " look alike";
}

TEST(ToolbarIcons, DenseScreensGetTheSamePictureAtTwiceTheSize) {
    for (const int id : kToolbar) {
        SCOPED_TRACE(id);
        const QImage dense = toolbarIconImage(id, 2.0);
        ASSERT_EQ(dense.size(), QSize(64, 44));
        const QImage reduced =
            dense.scaled(kToolbarIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(difference(reduced, toolbarIconImage(id)), 6.0);

        for (const qreal ratio : {1.25, 1.5, 2.0}) {
            const QPixmap pixmap = toolbarIcon(id).pixmap(kToolbarIconSize, ratio);
            EXPECT_EQ(pixmap.toImage(), toolbarIconImage(id, ratio)) << ratio;
            EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
        }
    }
}

TEST(ToolbarIcons, CommandsWithoutAButtonHaveNoPicture) {
    for (const int id : {0, int(ID_APP_EXIT), int(ID_APP_ABOUT), int(ID_FILE_OPEN)}) {
        EXPECT_TRUE(toolbarIconImage(id).isNull()) << id;
        EXPECT_TRUE(toolbarIcon(id).isNull()) << id;
    }
    EXPECT_TRUE(toolbarIconImage(ID_SAVE, 0.0).isNull());
}

TEST(ProgramIcon, DrawnAtEverySize) {
    const QIcon icon = programIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : kProgramIconSizes) {
        SCOPED_TRACE(size);
        const QImage image = programIconImage(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        const Coverage c = coverage(image);
        EXPECT_GE(c.opaque, size * size / 5);
        EXPECT_GE(c.transparent, size * size / 10);
        EXPECT_TRUE(sizes.contains(QSize(size, size)));
    }
    // The small sizes are the large picture, not another one.
    const QImage big = programIconImage(256);
    for (const int size : {32, 64}) {
        const QImage reduced =
            big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(difference(reduced, programIconImage(size)), 8.0) << size;
    }
    EXPECT_TRUE(programIconImage(0).isNull());
}

} // namespace
