// The decoded-picture cache: a slot is used only while it matches its source exactly, damage
// of any kind means decoding again, and the mapped pixels are never written through.
#include "skin/picturecache.h"
#include "tests/support/testenv.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

int decodes = 0;

QImage countingDecode(const QString &path)
{
    ++decodes;
    return PictureCache::decodePicture(path);
}

QImage monoDecode(const QString &path)
{
    ++decodes;
    QImage image;
    image.load(path, "PNG");
    return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

struct Fixture {
    QString dir = testenv::scratchDir("cache");
    QString png = dir + "/pic.png";
    PictureCache cache{dir + "/cache"};

    Fixture() { decodes = 0; }
    void draw(const QColor &colour, int width, int minutesAhead = 0)
    {
        QImage image(width, 5, QImage::Format_ARGB32);
        image.fill(colour);
        image.setPixelColor(2, 2, QColor(0, 0, 255, 128));
        ASSERT_TRUE(image.save(png, "PNG"));
        testenv::setModified(png, QDateTime::currentDateTime().addSecs(60 * minutesAhead));
    }
    QImage load(PictureCache::Decoder decode = countingDecode)
    {
        return cache.load(png, "slot", decode).convertToFormat(QImage::Format_ARGB32);
    }
};

} // namespace

TEST(PictureCache, secondLoadMapsTheSlotWithTheSamePixels)
{
    Fixture f;
    f.draw(Qt::red, 9);
    const QImage first = f.load();
    EXPECT_EQ(decodes, 1);
    ASSERT_TRUE(QFileInfo::exists(f.cache.slotPath("slot")));
    const QImage second = f.load();
    EXPECT_EQ(decodes, 1) << "taken from the slot";
    EXPECT_EQ(second, first);
    EXPECT_EQ(second.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(second.pixelColor(2, 2).alpha(), 128);
}

TEST(PictureCache, aChangedOrDifferentSourceIsDecodedAgain)
{
    Fixture f;
    f.draw(Qt::red, 9);
    f.load();
    f.draw(Qt::green, 11, 1); // new size and time
    EXPECT_EQ(f.load().pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(decodes, 2);

    // Same size, new time.
    f.draw(Qt::blue, 11, 2);
    EXPECT_EQ(f.load().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(decodes, 3);

    // Another file with the same size and time in the same slot.
    const QString other = f.dir + "/other.png";
    ASSERT_TRUE(QFile::copy(f.png, other));
    testenv::setModified(other, QFileInfo(f.png).lastModified());
    f.cache.load(other, "slot", countingDecode);
    EXPECT_EQ(decodes, 4);
    f.load();
    EXPECT_EQ(decodes, 5);
}

// Copies that keep the old time (cp -p, tar, unzip) give a new picture the old size and
// modification time; its change time or inode still tells.
TEST(PictureCache, aPictureReplacedWithItsOldSizeAndTimeIsDecodedAgain)
{
    auto stamp = [](const QString &path) {
        struct stat st = {};
        stat(QFile::encodeName(path).constData(), &st);
        return std::make_pair(qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec,
                              st.st_ino);
    };
    // Stored without compression: every picture of one size makes a file of one size.
    auto png = [](const QColor &colour) {
        QImage image(9, 5, QImage::Format_ARGB32);
        image.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG", 100);
        return bytes;
    };
    for (const bool inPlace : {true, false}) {
        Fixture f;
        ASSERT_TRUE(testenv::writeFile(f.png, png(Qt::red)));
        const QDateTime time = QDateTime::currentDateTime().addSecs(-60);
        testenv::setModified(f.png, time);
        EXPECT_EQ(f.load().pixelColor(0, 0), QColor(Qt::red));
        const auto before = stamp(f.png);

        const QByteArray blue = png(Qt::blue);
        ASSERT_EQ(blue.size(), QFileInfo(f.png).size());
        if (inPlace) {
            ASSERT_TRUE(testenv::writeFile(f.png, blue));
        } else {
            ASSERT_TRUE(testenv::writeFile(f.dir + "/new.png", blue));
            testenv::setModified(f.dir + "/new.png", time);
            ASSERT_EQ(::rename(QFile::encodeName(f.dir + "/new.png").constData(),
                               QFile::encodeName(f.png).constData()),
                      0);
        }
        // The clock behind change times may tick coarsely: wait for a tick that shows.
        for (int i = 0; i < 500 && stamp(f.png) == before; ++i) {
            QThread::msleep(2);
            testenv::setModified(f.png, time);
        }
        testenv::setModified(f.png, time);
        ASSERT_EQ(QFileInfo(f.png).lastModified(), time);
        EXPECT_EQ(f.load().pixelColor(0, 0), QColor(Qt::blue)) << "in place: " << inPlace;
        EXPECT_EQ(decodes, 2);
    }
}

TEST(PictureCache, userFolderFollowsHome)
{
    const QString home = testenv::scratchDir("home");
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.toLocal8Bit());
    const QString folder = PictureCache::userFolder();
    qputenv("HOME", oldHome);
    EXPECT_TRUE(folder.startsWith(home + "/.cache/")) << folder.toStdString();
}

TEST(PictureCache, damagedSlotsAreNotTrusted)
{
    Fixture f;
    f.draw(Qt::red, 9);
    const QImage good = f.load();
    const QString slot = f.cache.slotPath("slot");
    const QByteArray bytes = testenv::readFile(slot);
    ASSERT_GT(bytes.size(), 64);

    auto patched = [&](int offset, const QByteArray &with) {
        QByteArray b = bytes;
        b.replace(offset, with.size(), with);
        return b;
    };
    const QByteArray huge("\xff\xff\xff\x7f", 4);
    const QList<QByteArray> damage = {
        QByteArray(),
        bytes.left(20),                      // cut in the header
        bytes.left(bytes.size() - 1),        // cut in the pixels
        bytes + "x",                         // longer than the pixels
        patched(0, "ORBSKIN1"),              // other magic
        patched(24, huge),                   // width
        patched(28, QByteArray(4, '\0')),    // height 0
        patched(32, huge),                   // format
        patched(36, QByteArray("\1\0\0\0")), // line shorter than the width
        patched(40, huge),                   // path length
        patched(44, QByteArray("\1\0\0\0")), // colours for a picture without a table
        patched(44, huge),                   // colour count
        patched(48, "?"),                    // change time
        patched(56, "?"),                    // inode
        patched(66, "?"),                    // the source path
        QByteArray(4096, '\xff'),
    };
    for (int i = 0; i < damage.size(); ++i) {
        ASSERT_TRUE(testenv::writeFile(slot, damage.at(i)));
        decodes = 0;
        EXPECT_EQ(f.load(), good) << "case " << i;
        EXPECT_EQ(decodes, 1) << "case " << i;
        EXPECT_EQ(testenv::readFile(slot), bytes) << "rewritten, case " << i;
    }
}

TEST(PictureCache, indexedPicturesKeepTheirColours)
{
    Fixture f;
    QImage shape(20, 3, QImage::Format_RGB32);
    shape.fill(Qt::white);
    for (int x = 0; x < 10; ++x)
        shape.setPixel(x, 1, 0xff000000u);
    ASSERT_TRUE(shape.save(f.png, "PNG"));
    const QImage first = f.cache.load(f.png, "mask", monoDecode);
    const QImage second = f.cache.load(f.png, "mask", monoDecode);
    EXPECT_EQ(decodes, 1);
    ASSERT_EQ(second.format(), QImage::Format_Mono);
    EXPECT_EQ(second.colorTable(), first.colorTable());
    EXPECT_EQ(second, first);
    EXPECT_EQ(second.pixelColor(3, 1), QColor(Qt::black));
    EXPECT_EQ(second.pixelColor(13, 1), QColor(Qt::white));
}

TEST(PictureCache, drawingOnAMappedPictureLeavesTheSlotAlone)
{
    Fixture f;
    f.draw(Qt::red, 9);
    f.load();
    const QByteArray before = testenv::readFile(f.cache.slotPath("slot"));
    QImage mapped = f.cache.load(f.png, "slot", countingDecode);
    EXPECT_EQ(decodes, 1);
    mapped.fill(Qt::black);
    EXPECT_EQ(testenv::readFile(f.cache.slotPath("slot")), before);
    EXPECT_EQ(f.load().pixelColor(0, 0), QColor(Qt::red));
}

TEST(PictureCache, withoutAUsableFolderEveryLoadDecodes)
{
    Fixture f;
    f.draw(Qt::red, 9);
    PictureCache none;
    EXPECT_FALSE(none.load(f.png, "slot", countingDecode).isNull());
    EXPECT_FALSE(none.load(f.png, "slot", countingDecode).isNull());
    EXPECT_EQ(decodes, 2);

    // The cache folder's place is taken by a file: nothing is written, pictures still load.
    testenv::writeFile(f.dir + "/blocked", "x");
    PictureCache blocked(f.dir + "/blocked");
    EXPECT_FALSE(blocked.load(f.png, "slot", countingDecode).isNull());
    EXPECT_EQ(testenv::readFile(f.dir + "/blocked"), QByteArray("x"));

    // A slot name cannot reach outside the folder.
    EXPECT_TRUE(f.cache.slotPath("../escape").isEmpty());
    EXPECT_FALSE(f.cache.load(f.png, "../escape", countingDecode).isNull());
    EXPECT_FALSE(QFileInfo::exists(f.dir + "/escape.pixels"));
}

TEST(PictureCache, missingOrUndecodableSourcesGiveNullImages)
{
    Fixture f;
    EXPECT_TRUE(f.cache.load(f.dir + "/none.png", "slot", countingDecode).isNull());
    EXPECT_TRUE(f.cache.load(QString(), "slot", countingDecode).isNull());
    EXPECT_TRUE(f.cache.load(f.dir, "slot", countingDecode).isNull()); // a folder
    EXPECT_EQ(decodes, 0);
    testenv::writeFile(f.png, "not a png");
    EXPECT_TRUE(f.cache.load(f.png, "slot", countingDecode).isNull());
    EXPECT_FALSE(QFileInfo::exists(f.cache.slotPath("slot")));
}
