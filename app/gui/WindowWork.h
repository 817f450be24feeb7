#pragma once
// TWindowWork: a window at work while an external program runs.
//
// For as long as it lives, the calling thread's waits for started programs
// run on another thread while the window's events keep flowing (it paints,
// answers the window manager, shows the busy cursor), the window takes no
// input that could act (mouse, keys and wheel to its widgets are dropped; the
// buttons given are disabled), and a request to close the window is turned
// into a question: when the user agrees, the waits give up and the window
// closes once the work has unwound.

#include "Process.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <vector>

class QAbstractButton;
class QWidget;

class TWindowWork : public QObject, public TWaitRunner
{
    Q_OBJECT
public:
    // Question asked when the window is closed meanwhile (Yes stops the work).
    TWindowWork(QWidget *AWindow, const QString &AStopQuestion,
                const std::vector<QAbstractButton *> &AButtons);
    ~TWindowWork() override;
    TWindowWork(const TWindowWork &) = delete;
    TWindowWork &operator=(const TWindowWork &) = delete;

    // The work of AWindow in progress, or null.
    static TWindowWork *Of(const QWidget *AWindow);

    void Run(const std::function<void()> &Wait) override;
    bool Cancelled() const override { return FStop.load() || FCancel.load(); }

    // Lets the user's input reach AWidget (null: no widget) while at work.
    void AllowInput(QWidget *AWidget) { FAllowed = AWidget; }
    // The user gives the work up; the window stays open.
    void Cancel() { FCancel = true; }
    bool CancelledByUser() const { return FCancel.load(); }

    // A close request while at work: asks, and on Yes stops the work and
    // closes the window when it has unwound. True when it was handled (the
    // close must then be ignored now).
    bool CloseRequested();
    // The user chose to stop and close.
    bool Stopping() const { return FStop.load(); }

protected:
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    QPointer<QWidget> FWindow;
    QString FStopQuestion;
    std::vector<QPointer<QAbstractButton>> FButtons;
    std::vector<bool> FWasEnabled;
    QPointer<QWidget> FFocus; // where the focus was, given back at the end
    TWaitRunner *FPreviousRunner = nullptr;
    std::atomic<bool> FStop{false};
    std::atomic<bool> FCancel{false};
    QPointer<QWidget> FAllowed;
    bool FAsking = false;
};
