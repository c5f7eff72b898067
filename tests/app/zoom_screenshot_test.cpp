// The program started at zoom 1 and 2 (a process each: Qt takes the factor once, at start):
// the layout is the same, and every start-screen button is painted over exactly twice the
// pixels in each direction.

#include "temp_config.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <ostream>

// Failures name the rectangle, not its bytes.
void PrintTo(const QRect& rect, std::ostream* os) {
    *os << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
}

namespace {

struct Shot {
    QImage image;
    std::map<int, QRect> buttons; // window id: rectangle in layout coordinates
    double scale = 0;
};

Shot TakeShot(const TempConfig& config, const QString& zoom) {
    Shot shot;
    const QString png = config.Folder() + QStringLiteral("/zoom-%1.png").arg(zoom);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KSV_ZOOM_SCREENSHOT),
                  {QStringLiteral("--zoom"), zoom, config.Path(), config.Folder(), png});
    EXPECT_TRUE(process.waitForFinished(60000)) << zoom.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2 && fields[0] == "scale")
            shot.scale = fields[1].toDouble();
        if (fields.size() == 5)
            shot.buttons[fields[0].toInt()] =
                QRect(fields[1].toInt(), fields[2].toInt(), fields[3].toInt(), fields[4].toInt());
    }
    shot.image.load(png);
    return shot;
}

// Bounding box of what differs from the view's background around where a button should be.
QRect PaintedRect(const QImage& image, const QRect& expected) {
    const QRect around = expected.adjusted(-4, -4, 4, 4) & image.rect();
    const QRgb background = image.pixel(around.left(), around.center().y());
    QRect painted;
    for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
            if (image.pixel(x, y) != background)
                painted |= QRect(x, y, 1, 1);
        }
    }
    return painted;
}

QRect Scaled(const QRect& rect, int factor) {
    return QRect(rect.topLeft() * factor, rect.size() * factor);
}

TEST(ZoomScreenshot, StartScreenButtonsScaleExactlyWithTheZoom) {
    TempConfig config;
    config.Preset("[Kestrovane]\nm_iComOutGoing=8\nm_iComIncoming=5\nm_PermitInbound=1\n");
    const Shot one = TakeShot(config, QStringLiteral("1"));
    const Shot two = TakeShot(config, QStringLiteral("2"));
    ASSERT_FALSE(one.image.isNull());
    ASSERT_FALSE(two.image.isNull());
    EXPECT_EQ(one.scale, 1.0);
    EXPECT_EQ(two.scale, 2.0);
    EXPECT_EQ(two.image.size(), one.image.size() * 2);
    ASSERT_EQ(one.buttons.size(), 3u);   // "Connect", "Connect Inbound", "Close"
    EXPECT_EQ(two.buttons, one.buttons); // the layout does not change with the zoom

    for (const auto& [id, rect] : one.buttons) {
        const QRect paintedOne = PaintedRect(one.image, rect);
        EXPECT_EQ(paintedOne, rect) << id;
        EXPECT_EQ(PaintedRect(two.image, Scaled(rect, 2)), Scaled(paintedOne, 2)) << id;
    }
}

} // namespace
