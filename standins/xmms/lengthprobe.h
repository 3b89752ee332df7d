// Finds the lengths of playlist entries in the background, one mplayer identification run
// at a time, so length queries can be answered at once from what is known so far.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

class QProcess;
class QTimer;

class LengthProbe : public QObject
{
    Q_OBJECT

public:
    explicit LengthProbe(QObject *parent = nullptr);
    ~LengthProbe() override;

    void enqueue(const QByteArray &path);
    void clear();

signals:
    // Milliseconds; -1 when mplayer could not tell.
    void lengthFound(const QByteArray &path, int milliseconds);

private:
    void startNext();
    void finish();

    QList<QByteArray> m_queue;
    QProcess *m_process = nullptr;
    QTimer *m_limit = nullptr;
    QByteArray m_current;
};
