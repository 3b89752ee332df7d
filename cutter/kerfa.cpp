#include "cutter/kerfa.h"

#include "cutter/directorychooser.h"
#include "cutter/kerfacommands.h"
#include "platform/cardroot.h"
#include "platform/logging.h"
#include "platform/mediaplayer.h"
#include "platform/res_icon_reader.h"
#include "platform/util_cst.h"
#include "platform/zglobal.h"
#include "platform/zmessagebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cstdio>

namespace
{

const QString kEndMode = QStringLiteral("->");
const QString kLengthMode = QStringLiteral("++");
const QString kMessageIcon = QStringLiteral("Dialog_Exclamatory_Mark.gif");

QPixmap messageIcon()
{
    return RES_ICON_Reader().getIcon(kMessageIcon, true);
}

void timed(const QString &text, const QPixmap &icon = messageIcon())
{
    ZMessageBox::timerMessage(nullptr, icon, text, 1, 1);
}

// Plain text: a "%" in a path is printed as it is.
void printCommand(const QString &command)
{
    const QByteArray line = command.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

bool isRegularFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile();
}

QLineEdit *lineEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QCheckBox *checkBox(const QString &text, const char *name, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

// A group box holding rows of widgets, stacked.
QGroupBox *groupBox(const QString &title, const char *name, QWidget *parent)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    return group;
}

QHBoxLayout *row(QGroupBox *group)
{
    auto *layout = new QHBoxLayout;
    layout->setSpacing(3);
    static_cast<QVBoxLayout *>(group->layout())->addLayout(layout);
    return layout;
}

} // namespace

Kerfa::Kerfa(QWidget *parent, const char *name, int flags)
    : ZMainWidget(QStringLiteral("Kerfa Lumora"), false, parent, name, flags)
{
    m_softKeys = new UTIL_CST(this, QStringLiteral("SAVE MP3"), "CST_Menu", "CST_Exit");
    m_menuButton = m_softKeys->getLeftBtn();

    m_scroll = new QScrollArea(this);
    m_scroll->setMinimumSize(ZMainWidget::ScreenWidth, 3 * ZGlobal::getLineHeight());
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *content = new QWidget;
    content->setFixedWidth(217);
    auto *box = new QVBoxLayout(content);
    box->setSpacing(3);
    box->setContentsMargins(0, 0, 0, 0);

    auto *logo = new QLabel(content);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(QPixmap(QStringLiteral("kerfa/logo.jpg")));
    logo->setAlignment(Qt::AlignCenter);
    box->addWidget(logo);

    addFileGroups(content, box);

    m_verboseCheck = checkBox(QStringLiteral("冗余"), "verboseCheck", content);
    box->addWidget(m_verboseCheck);
    m_keepTagCheck = checkBox(QStringLiteral("继承原始id3tag信息"), "keepTagCheck", content);
    box->addWidget(m_keepTagCheck);
    m_gainCheck = checkBox(QStringLiteral("启用音量调整"), "gainCheck", content);
    connect(m_gainCheck, &QCheckBox::clicked, this, &Kerfa::checkForGain);
    box->addWidget(m_gainCheck);

    addGainGroup(content, box);

    m_tagCheck = checkBox(QStringLiteral("编辑ID3tag"), "tagCheck", content);
    connect(m_tagCheck, &QCheckBox::clicked, this, &Kerfa::checkForId3);
    box->addWidget(m_tagCheck);

    addTagGroup(content, box);
    box->addStretch(1);

    checkForGain();
    checkForId3();

    m_scroll->setWidget(content);
    m_scroll->setWidgetResizable(true);
    setContentWidget(m_scroll);

    auto *menu = new QMenu(m_menuButton);
    menu->addAction(QStringLiteral("preview"), this, &Kerfa::preview);
    menu->addSeparator();
    menu->addAction(QStringLiteral("About "), this, &Kerfa::showAbout);
    m_menuButton->setMenu(menu);
    connect(m_softKeys->getMidBtn(), &QPushButton::clicked, this, &Kerfa::start);
    connect(m_softKeys->getRightBtn(), &QPushButton::clicked, this, &QWidget::close);
    setCSTWidget(m_softKeys);
}

void Kerfa::addFileGroups(QWidget *content, QVBoxLayout *box)
{
    auto *inputGroup = groupBox(QStringLiteral("输入文件"), "inputGroup", content);
    QHBoxLayout *inputRow = row(inputGroup);
    m_inputEdit = lineEdit("inputEdit", inputGroup);
    auto *browse = new QPushButton(QStringLiteral("..."), inputGroup);
    browse->setObjectName(QStringLiteral("browseButton"));
    const int side = m_inputEdit->sizeHint().height();
    browse->setFixedSize(side, side);
    inputRow->addWidget(m_inputEdit);
    inputRow->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, &Kerfa::getInputFile);
    box->addWidget(inputGroup);

    auto *outputGroup = groupBox(QStringLiteral("输出文件"), "outputGroup", content);
    m_outputEdit = lineEdit("outputEdit", outputGroup);
    m_outputEdit->setText(platform::cardPath(QStringLiteral("/mmc/mmca1/")));
    row(outputGroup)->addWidget(m_outputEdit);
    box->addWidget(outputGroup);

    auto *timeGroup = groupBox(QStringLiteral("开始和结束的秒"), "timeGroup", content);
    QHBoxLayout *timeRow = row(timeGroup);
    m_startEdit = lineEdit("startEdit", timeGroup);
    m_modeButton = new QPushButton(kEndMode, timeGroup);
    m_modeButton->setObjectName(QStringLiteral("modeButton"));
    m_modeButton->setFixedWidth(30);
    connect(m_modeButton, &QPushButton::clicked, this, &Kerfa::switchMode);
    m_endEdit = lineEdit("endEdit", timeGroup);
    timeRow->addWidget(m_startEdit);
    timeRow->addWidget(m_modeButton);
    timeRow->addWidget(m_endEdit);
    box->addWidget(timeGroup);
}

void Kerfa::addGainGroup(QWidget *content, QVBoxLayout *box)
{
    m_gainGroup = groupBox(QStringLiteral("音量选项"), "gainGroup", content);
    auto *gainNote = new QLabel(
        QStringLiteral("程序将使用MP3Gain\n对输出文件进行处理.\n但此操作将花费比较\n长的时间."),
        m_gainGroup);
    gainNote->setObjectName(QStringLiteral("gainNote"));
    row(m_gainGroup)->addWidget(gainNote);
    QHBoxLayout *gainRow = row(m_gainGroup);
    gainRow->addWidget(new QLabel(QStringLiteral("文件音量:"), m_gainGroup));
    m_gainEdit = lineEdit("gainEdit", m_gainGroup);
    gainRow->addWidget(m_gainEdit);
    m_leftCheck = checkBox(QStringLiteral("左声道(仅立体声)"), "leftCheck", m_gainGroup);
    row(m_gainGroup)->addWidget(m_leftCheck);
    m_rightCheck = checkBox(QStringLiteral("右声道(仅立体声)"), "rightCheck", m_gainGroup);
    row(m_gainGroup)->addWidget(m_rightCheck);
    box->addWidget(m_gainGroup);
}

void Kerfa::addTagGroup(QWidget *content, QVBoxLayout *box)
{
    m_tagGroup = groupBox(QStringLiteral("ID3标签编辑"), "tagGroup", content);
    const struct {
        const char *label;
        const char *name;
        QLineEdit **edit;
    } tagRows[] = {{"歌曲标题:", "titleEdit", &m_titleEdit},
                   {"歌曲作者:", "artistEdit", &m_artistEdit},
                   {"歌曲专辑:", "albumEdit", &m_albumEdit}};
    for (const auto &tagRow : tagRows) {
        QHBoxLayout *line = row(m_tagGroup);
        line->addWidget(new QLabel(QString::fromUtf8(tagRow.label), m_tagGroup));
        *tagRow.edit = lineEdit(tagRow.name, m_tagGroup);
        line->addWidget(*tagRow.edit);
    }
    box->addWidget(m_tagGroup);
}

QString Kerfa::previewFile()
{
    return platform::cardPath(QStringLiteral("/mmc/mmca1/.system/kerfa.tmp.mp3"));
}

bool Kerfa::lengthMode() const
{
    return m_modeButton->text() != kEndMode;
}

void Kerfa::information(const QString &text)
{
    ZMessageBox::information(this, messageIcon(), text, QStringLiteral("OK"));
}

int Kerfa::run(const QString &command)
{
    printCommand(command);
    const int status = kerfa::runShell(command);
    qCDebug(lcCutter) << "exit status" << status;
    return status;
}

void Kerfa::start()
{
    const QString input = m_inputEdit->text();
    if (!isRegularFile(input)) {
        information(QStringLiteral("输入的文件不存在"));
        return;
    }
    const QString output = kerfa::outputPath(m_outputEdit->text(), input);
    if (!lengthMode() && !kerfa::timesValid(m_startEdit->text(), m_endEdit->text())) {
        information(QStringLiteral("时间设置无效，请重新设置"));
        return;
    }
    // Writing the cut over its own source would destroy the source before it is read.
    const QFileInfo outputInfo(output);
    if (outputInfo.exists() &&
        outputInfo.canonicalFilePath() == QFileInfo(input).canonicalFilePath()) {
        information(QStringLiteral("输出文件不能与输入文件相同"));
        return;
    }

    const QString command =
        kerfa::cutCommand({input, output, m_startEdit->text(), m_endEdit->text(), lengthMode(),
                           m_verboseCheck->isChecked(), m_keepTagCheck->isChecked()});
    timed(QStringLiteral("开始截取！请稍等."));
    // A cutter that failed may leave an old file of that name behind: its status counts too.
    if (run(command) != 0 || !isRegularFile(output)) {
        timed(QStringLiteral("截取失败!"));
        return;
    }
    timed(QStringLiteral("截取完毕!!") + output);
    if (m_gainCheck->isChecked())
        gainStep(output);
    if (m_tagCheck->isChecked())
        tagStep(output);
    timed(QStringLiteral("恭喜，所有操作完成拉!!<br>文件位置：") + output);
}

void Kerfa::gainStep(const QString &path)
{
    timed(QStringLiteral("开始调整音量!这个操作可能将花费数分钟的时间，请耐心的等待。"), QPixmap());
    run(kerfa::gainCommand(m_gainEdit->text(), m_leftCheck->isChecked(), m_rightCheck->isChecked(),
                           path));
}

void Kerfa::tagStep(const QString &path)
{
    timed(QStringLiteral("正在加入ID3tag信息，稍候."), QPixmap());
    run(kerfa::tagCommand(m_titleEdit->text(), m_artistEdit->text(), m_albumEdit->text(), path));
    timed(QStringLiteral("加入ID3tag信息完成.成没成功我也搞不清~~嘿嘿"), QPixmap());
}

void Kerfa::preview()
{
    const QString input = m_inputEdit->text();
    if (!isRegularFile(input)) {
        information(QStringLiteral("输入的文件不存在"));
        return;
    }
    const QString file = previewFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    // An earlier preview left behind must not pass for this one.
    QFile::remove(file);
    const QString command =
        kerfa::cutCommand({input, file, m_startEdit->text(), m_endEdit->text(), lengthMode(),
                           m_verboseCheck->isChecked(), m_keepTagCheck->isChecked()});
    timed(QStringLiteral("正在生成预览！请稍等."));
    if (run(command) != 0 || !isRegularFile(file)) {
        timed(QStringLiteral("生成预览失败!"));
        return;
    }
    timed(QStringLiteral("开始预览"));
    // The scratch file goes once the player returns; a player of an earlier preview that
    // ends later leaves the newer file alone.
    const int run = ++m_previews;
    const auto removeFile = [this, run, file] {
        if (run == m_previews)
            QFile::remove(file);
    };
    if (!platform::playMedia(file, this, removeFile)) {
        qCWarning(lcCutter) << "media player did not start for" << file;
        removeFile();
    }
}

void Kerfa::switchMode()
{
    m_modeButton->setText(lengthMode() ? kEndMode : kLengthMode);
}

void Kerfa::checkForGain()
{
    const bool on = m_gainCheck->isChecked();
    m_gainEdit->setEnabled(on);
    m_leftCheck->setEnabled(on);
    m_rightCheck->setEnabled(on);
    m_gainGroup->setVisible(on);
}

void Kerfa::checkForId3()
{
    const bool on = m_tagCheck->isChecked();
    m_titleEdit->setEnabled(on);
    m_artistEdit->setEnabled(on);
    m_albumEdit->setEnabled(on);
    m_tagGroup->setVisible(on);
}

void Kerfa::getInputFile()
{
    m_inputEdit->setText(DirectoryChooser::choose(this, false));
}

void Kerfa::showAbout()
{
    ZMessageBox::information(this, QPixmap(QStringLiteral("kerfa/kerfa.png")),
                             QStringLiteral("Kerfa Lumora<br>MP3 ringtone cutter"),
                             QStringLiteral("OK"));
}

void Kerfa::closeEvent(QCloseEvent *event)
{
    QFile::remove(previewFile());
    emit clickcolse();
    event->accept();
    // May run inside the window's own event handling: delete later.
    deleteLater();
}
