#include "tests/skin/painting/testskin.h"

#include "tests/support/testenv.h"

#include <QBitmap>
#include <QDir>
#include <QPainter>

namespace testskin
{

QImage codedImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = codeAt(x, y);
    }
    return image;
}

QByteArray description()
{
    return "[SKINS]\n"
           "mwin_Y=0\n"
           "mwin_H=320\n"
           "win_enabled=true\n"
           "exit_win=200,2,30,14,300,0\n"
           "H_win=170,2,24,14,340,0\n"
           "mini_win=140,2,24,14,370,0\n"
           "prev=10,250,20,16,300,40\n"
           "play=35,250,24,16,330,40\n"
           "stop=65,250,20,16,390,40\n"
           "next=90,250,20,16,420,40\n"
           "audio3d_btn=120,250,20,16,450,40\n"
           "bassbooster=145,250,20,16,480,40\n"
           "pos_A=170,250,16,16,510,40\n"
           "pos_B=190,250,16,16,540,40\n"
           "VL_BTN=100,100,68,10,300,80,300,90,14,10\n"
           "posbar=20,80,200,10,300,120,300,130,30,8\n"
           "title_win=60,30,150,16,300,150,#FFFFFF\n"
           "time_win=10,50,10,16,300,170,80,20\n"
           "play_display_win=130,50,20,12,420,170\n"
           "plistwin=0,120,240,110,0,330\n"
           "lrcwin=0,120,240,110,0,330\n"
           "eqwin=0,120,240,110,0,330\n"
           "plist_Bar=222,125,12,95,300,220,300,320,10,20,#000000\n"
           "OP_BTN=10,230,20,12,330,220\n"
           "plist_BTN=35,230,20,12,360,220\n"
           "shuf_BTN=60,230,20,12,390,220\n"
           "repeat_BTN=85,230,20,12,420,220\n"
           "showlrc_BTN=10,230,20,12,450,220\n"
           "textcodec_BTN=35,230,20,12,480,220\n"
           "font_BTN=60,230,20,12,510,220\n"
           "color_BTN=85,230,20,12,540,220\n"
           "lrcwin_show=0,125,240,100,0,330\n"
           "EQ=40,125,12,81,300,400,480,400,10,6,16\n"
           "EQ_Preamp=22,125,14,81,500,400\n"
           "presets_BTN=10,210,20,12,300,570\n"
           "EQ_BTN_ZERO=35,210,20,12,330,570\n"
           "EQE_BTN=60,210,20,12,360,570\n"
           "eqalzr_win=100,210,108,20,390,570,520,600\n"
           "btn_plistwin=10,300,40,14,0,600\n"
           "btn_lrcwin=60,300,40,14,40,600\n"
           "btn_eqwin=110,300,40,14,80,600\n"
           "H_WIN_T=0,0,40,320,600,0\n"
           "H_WIN_B=200,0,40,320,640,0\n"
           "H_exit_win=5,5,20,14,680,0\n"
           "V_win_btn=5,25,20,14,680,20\n"
           "H_mini_win=5,45,20,14,680,40\n"
           "H_prev=205,10,20,16,680,80\n"
           "H_play=205,30,20,16,680,120\n"
           "H_stop=205,50,20,16,680,140\n"
           "H_next=205,70,20,16,680,160\n"
           "H_pos_A=205,90,16,16,680,180\n"
           "H_pos_B=205,110,16,16,680,200\n"
           "H_posbar=10,80,10,200,720,0,730,0,8,30\n"
           "H_VL_BTN=215,140,10,100,750,0,760,0,10,14\n";
}

QString writeSkin(const QString &appDir, const QString &name)
{
    const QString dir = appDir + QStringLiteral("/skins/") + name;
    QDir().mkpath(dir);
    testenv::writeFile(dir + QStringLiteral("/skins.conf"), description());
    codedImage(800, 700).save(dir + QStringLiteral("/skins.png"), "PNG");
    codedImage(240, 25).save(dir + QStringLiteral("/mini_main.png"), "PNG");
    codedImage(200, 80).save(dir + QStringLiteral("/mini_btn.png"), "PNG");
    // Dark pixels are the shape.
    QImage mask(240, 25, QImage::Format_RGB32);
    mask.fill(Qt::black);
    mask.save(dir + QStringLiteral("/mask.png"), "PNG");
    QImage maskLyrics(240, 48, QImage::Format_RGB32);
    maskLyrics.fill(Qt::black);
    maskLyrics.save(dir + QStringLiteral("/mask_d.png"), "PNG");
    for (int n = 1; n <= 3; ++n) {
        QImage light(20, 6, QImage::Format_RGB32);
        light.fill(qRgb(n * 60, 1, 2));
        light.save(dir + QStringLiteral("/xmaslights_l%1.png").arg(n), "PNG");
        light.fill(qRgb(n * 60, 3, 4));
        light.save(dir + QStringLiteral("/xmaslights_r%1.png").arg(n), "PNG");
    }
    if (name == QLatin1String("default"))
        codedImage(320, 240).save(dir + QStringLiteral("/backskin.png"), "PNG");
    return dir;
}

} // namespace testskin
