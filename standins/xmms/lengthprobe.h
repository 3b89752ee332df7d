// Finds the lengths of playlist entries in the background, one mplayer identification run
// at a time, so length queries can be answered at once from what is known so far. A query
// for an entry not reached yet can have its length found at once (probeNow).
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
    // Finds the length of `path` now, waiting at most `budgetMs`; the answer comes through
    // lengthFound as usual. A path that takes longer goes back to the background queue.
    void probeNow(const QByteArray &path, int budgetMs);

signals:
    // Milliseconds; -1 when mplayer could not tell.
    void lengthFound(const QByteArray &path, int milliseconds);

private:
    QProcess *makeProcess(const QByteArray &path); // set up, not started
    void startNext();
    void finish();

    QList<QByteArray> m_queue;
    QProcess *m_process = nullptr;
    QTimer *m_limit = nullptr;
    QByteArray m_current;
};
