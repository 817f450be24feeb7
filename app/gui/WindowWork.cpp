#include "WindowWork.h"

#include "MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <thread>

namespace {

QList<TWindowWork *> &Works()
{
    static QList<TWindowWork *> works;
    return works;
}

// Input that could make the window act.
bool IsUserInput(QEvent::Type AType)
{
    switch (AType) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

TWindowWork::TWindowWork(QWidget *AWindow, const QString &AStopQuestion,
                         const std::vector<QAbstractButton *> &AButtons)
    : FWindow(AWindow), FStopQuestion(AStopQuestion)
{
    // A focused button that is disabled would pass the focus on (and a field
    // taking it would change the page's hint): the window holds it instead.
    FFocus = AWindow->focusWidget();
    for (QAbstractButton *b : AButtons) {
        if (b == FFocus)
            AWindow->setFocus(Qt::OtherFocusReason);
    }
    for (QAbstractButton *b : AButtons) {
        FButtons.emplace_back(b);
        // Its own state, not its parent's: a button of a disabled group
        // keeps following the group afterwards.
        FWasEnabled.push_back(!b->testAttribute(Qt::WA_ForceDisabled));
        b->setEnabled(false);
    }
    FPreviousRunner = SetWaitRunner(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
    Works().append(this);
}

TWindowWork::~TWindowWork()
{
    Works().removeAll(this);
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    SetWaitRunner(FPreviousRunner);
    for (size_t i = 0; i < FButtons.size(); ++i) {
        if (FButtons[i])
            FButtons[i]->setEnabled(FWasEnabled[i]);
    }
    if (FFocus && FWindow && FFocus->isEnabled() && FFocus->window() == FWindow
        && FWindow->focusWidget() != FFocus)
        FFocus->setFocus(Qt::OtherFocusReason);
    if (FStop.load() && FWindow) {
        // The user asked to close: once the work has unwound.
        QWidget *window = FWindow;
        QTimer::singleShot(0, window, [window] { window->close(); });
    }
}

TWindowWork *TWindowWork::Of(const QWidget *AWindow)
{
    for (TWindowWork *w : Works()) {
        if (w->FWindow == AWindow)
            return w;
    }
    return nullptr;
}

void TWindowWork::Run(const std::function<void()> &Wait)
{
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        Wait();
        done = true;
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    if (!done.load())
        FStop = true; // the application is quitting: give the wait up
    worker.join();
    // The quit posted by the worker may still be queued for the loop.
    QCoreApplication::removePostedEvents(&loop);
}

bool TWindowWork::CloseRequested()
{
    if (FStop.load())
        return true; // already stopping; the window closes when it has unwound
    if (FAsking)
        return true;
    FAsking = true;
    QApplication::setOverrideCursor(Qt::ArrowCursor); // for the question, not the work
    const bool stop = AskYesNo(FWindow, FStopQuestion);
    QApplication::restoreOverrideCursor();
    FAsking = false;
    if (stop)
        FStop = true;
    return true;
}

bool TWindowWork::eventFilter(QObject *AWatched, QEvent *AEvent)
{
    if (IsUserInput(AEvent->type()) && AWatched->isWidgetType() && FWindow
        && static_cast<QWidget *>(AWatched)->window() == FWindow) {
        const auto *widget = static_cast<QWidget *>(AWatched);
        if (FAllowed && (widget == FAllowed || FAllowed->isAncestorOf(widget)))
            return QObject::eventFilter(AWatched, AEvent);
        return true;
    }
    return QObject::eventFilter(AWatched, AEvent);
}
